// The transform of a segment: the input reordering, the FFT with its power
// accumulation, and its choice between the AVX2 and the plain loops.
#pragma once

// The transform's own switch.
struct fourier_state {
    bool vector_allowed = true; // false: the plain loops even where AVX2 runs (tests compare)
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

// Lets the transform choose its loops again (the tests' reset).
void reset_fourier();
