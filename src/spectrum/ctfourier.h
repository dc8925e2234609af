// The transform of a segment: the input reordering, the FFT with its power
// accumulation, and its choice between the AVX2 and the plain loops.
#pragma once

#include "core/analysis_state.h"

#include <cstdint>
#include <vector>

// The transform's own switches.
struct fourier_state {
    bool vector_allowed = true; // false: the plain loops even where AVX2 runs (tests compare)
    bool wide_allowed = true;   // false: the AVX2 loops even where AVX-512 runs (tests compare)
    std::vector<std::uint32_t> reversed; // for m = 2 * size: entry i is 2i with its bits reversed
};

// The one transform switch of the process.
extern fourier_state fourier;

// Puts entries 0..m-1 of seg into bit-reversed order, clearing their imaginary parts.
void reorder_input();

// Transforms seg in place, scales it by 1/m and adds each bin's power to psd.
void ctfourier();

// For tests: false makes ctfourier use its plain loops even where the processor
// has AVX2 (both give the same bits); true, the default, lets it choose.
void allow_vector_butterflies(bool allow);

// For tests: false makes ctfourier use its AVX2 loops even where the processor
// has AVX-512 (the same bits again); true, the default, lets it choose.
void allow_wide_butterflies(bool allow);

// Computes the stage twiddle factors up to segment length m, unless already
// there, and the bit-reversal table of length m.
void prepare_stage_twiddles();

// Puts the real parts of entries 0..m-1 of samples (not seg) into seg in
// bit-reversed order, imaginary parts cleared.
void reorder_segment(complex_entry* seg, const complex_entry* samples);

// Puts the m floats of samples into seg in bit-reversed order, imaginary parts
// cleared, and takes the first stage's butterflies on the way: seg becomes what
// reorder_segment() and the first stage would leave. prepare_stage_twiddles()
// makes its table first; then worker threads can run it.
void reorder_first_stage(complex_entry* seg, const float* samples);

// The butterfly stages after the first, and the 1/m scaling, of a segment
// reorder_first_stage() left: seg becomes its spectrum. It prints nothing.
void later_fourier_stages(complex_entry* seg);

// The butterfly stages of a reordered segment and the 1/m scaling: seg becomes
// its spectrum. Given its own buffer it prints nothing, so worker threads can run it.
void fourier_stages(complex_entry* seg);

// Adds the power of each bin of a scaled spectrum to psd (m bins).
void add_power(const complex_entry* spectrum, double* psd);

// Prints the reordering's line, as reorder_input() does.
void narrate_reordering();

// Prints the transform's lines, as ctfourier() does.
void narrate_ctfourier();

// Lets the transform choose its loops again (the tests' reset).
void reset_fourier();
