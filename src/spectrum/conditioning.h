// Conditioning of each segment before its transform: mean removal, the window
// and the conversion to SI units.
#pragma once

#include "core/analysis_state.h"

// Subtracts the segment mean ave from entries 0..m-1.
void remove_mean();

// Applies the periodic Hanning window of length m, scaled by sqrt(8/3).
void apply_hanning();

// Converts the samples from the input unit to SI units.
void convert_to_si();

// Computes the Hanning weights of segment length m, unless already there.
void prepare_hanning_weights();

// Mean removal with the given mean, the window and the SI conversion, as the
// run's choices ask, of the real parts of entries 0..m-1 of in into the m
// floats of out. It prints nothing and only reads the shared tables, so worker
// threads can run it on their own buffers.
void condition_samples(const complex_entry* in, float* out, double mean);

// Prints the conditioning's lines, as remove_mean(), apply_hanning() and convert_to_si() do.
void narrate_conditioning();
