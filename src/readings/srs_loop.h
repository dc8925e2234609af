// The inner loops of the shock response spectrum (oscillators first .. last - 1
// through count values of base acceleration, and the FIR filter of its
// streams), in two builds that give the same bits: plain C++ one oscillator at a time, and AVX2
// code for x86-64 processors that have it (not built elsewhere, nor in the scalar build: see
// vector_paths.h), four oscillators to a register. Both form every product and
// sum in double precision in the same order; no fused multiply-add is used.
#pragma once

#include "platform/vector_paths.h"

#include <cstddef>

// The oscillators' arrays the loop reads and writes, one entry per oscillator.
// The outputs are scaled so that their first coefficient is 1 (one product less a step).
struct srs_lanes {
    const double* a1; // poles: w = (x + a2 w2) + a1 w1
    const double* a2;
    const double* c1; // absolute acceleration / b0: y = (w + c2 w2) + c1 w1
    const double* c2;
    const double* e1; // wn^2 relative displacement / d0: z = (w + e2 w2) + e1 w1
    const double* e2;
    double* w1;       // the recursion's last value
    double* w2;       // and the one before
    double* high;     // largest y
    double* low;      // smallest y
    double* relative; // largest |z|
    double* y;        // y at the last value
    double* z;        // z at the last value
};

// One oscillator's step: the recursion's values and the outputs.
struct srs_step {
    double w1, w2, y, z; // as in srs_lanes
};

// One value x through oscillator i: the plain step both builds repeat.
inline void step_oscillator(const srs_lanes& l, std::size_t i, double x, srs_step& s)
{
    const double w = (x + l.a2[i] * s.w2) + l.a1[i] * s.w1;
    s.y = (w + l.c2[i] * s.w2) + l.c1[i] * s.w1;
    s.z = (w + l.e2[i] * s.w2) + l.e1[i] * s.w1;
    s.w2 = s.w1;
    s.w1 = w;
}

// The loop: oscillators first .. last - 1 through x[0 .. count-1], the extremes kept.
using srs_loop = void (*)(const srs_lanes& l, std::size_t first, std::size_t last, const double* x,
                          std::size_t count);

// out[i] = sum over t of taps[t] x[i + t], i = 0 .. n-1, each sum taken in the order of t.
using fir_loop = void (*)(const double* taps, std::size_t width, const double* x, std::size_t n,
                          double* out);

// The two loops of one build.
struct srs_paths {
    srs_loop run;    // the oscillators
    fir_loop filter; // the streams' filters
};

extern const srs_paths plain_srs_paths; // srs_loop.cpp
#if ZENTRI_X86_VECTORS
extern const srs_paths avx_srs_paths;    // avx_srs_loop.cpp
extern const srs_paths avx512_srs_paths; // avx512_srs_loop.cpp: the oscillators 16 at a time
#endif

// The plain oscillators' loop (the AVX2 loop runs it for the oscillators left over).
void plain_srs_loop(const srs_lanes& l, std::size_t first, std::size_t last, const double* x,
                    std::size_t count);

// The AVX-512 or AVX2 loops where the build and the processor have them, the plain loops otherwise.
const srs_paths& fastest_srs_paths();
