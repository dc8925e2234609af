// Spectral estimation: conditioning of each segment, the FFT and power accumulation.
// The procedures without arguments work on the record's own st.seg and st.psd
// and print the dialogue's lines; those given a segment buffer print nothing and
// only read the shared tables, so worker threads can run them on their own buffers.
#pragma once

#include "core/analysis_state.h"

// Subtracts the segment mean ave from entries 0..m-1.
void remove_mean();

// Applies the periodic Hanning window of length m, scaled by sqrt(8/3).
void apply_hanning();

// Converts the samples from the input unit to SI units.
void convert_to_si();

// Puts entries 0..m-1 of seg into bit-reversed order, clearing their imaginary parts.
void reorder_input();

// Transforms seg in place, scales it by 1/m and adds each bin's power to psd.
void ctfourier();

// For tests: false makes ctfourier use its plain loops even where the processor
// has AVX2 (both give the same bits); true, the default, lets it choose.
void allow_vector_butterflies(bool allow);

// Computes the Hanning weights of segment length m, unless already there.
void prepare_hanning_weights();

// Computes the stage twiddle factors up to segment length m, unless already there.
void prepare_stage_twiddles();

// Mean removal with the given mean, the window and the SI conversion, as the
// run's choices ask, of the real parts of entries 0..m-1 of in into out (may be in).
void condition_segment(const complex_entry* in, complex_entry* out, double mean);

// Puts the real parts of entries 0..m-1 of samples (not seg) into seg in
// bit-reversed order, imaginary parts cleared.
void reorder_segment(complex_entry* seg, const complex_entry* samples);

// The butterfly stages of a reordered segment and the 1/m scaling: seg becomes its spectrum.
void fourier_stages(complex_entry* seg);

// Adds the power of each bin of a scaled spectrum to psd (m bins).
void add_power(const complex_entry* spectrum, double* psd);

// Prints the conditioning's lines, as remove_mean(), apply_hanning() and convert_to_si() do.
void narrate_conditioning();

// Prints the reordering's line, as reorder_input() does.
void narrate_reordering();

// Prints the transform's lines, as ctfourier() does.
void narrate_ctfourier();
