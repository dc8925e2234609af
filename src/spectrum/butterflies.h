// The loops of ctfourier that touch every entry, in two builds that give
// the same bits: plain C++, and AVX code for x86-64 processors that have it
// (not built elsewhere, nor in the scalar build: see vector_paths.h). Both
// form every product and sum in double precision from the widened floats and
// round to float at the same points; no fused multiply-add is used. They work
// on the segment buffer they are given, so several threads may run them at once.
#pragma once

#include "core/analysis_state.h"
#include "platform/vector_paths.h"

#include <cstdint>

struct butterfly_passes {
    void (*first_stage)(complex_entry* seg, std::uint32_t m); // adjacent pairs, no twiddle
    void (*later_stage)(complex_entry* seg, std::uint32_t m, std::uint32_t span,
                        const complex_entry* w);        // entries span/2 apart
    void (*scale)(complex_entry* seg, std::uint32_t m); // every part divided by m
    void (*accumulate)(const complex_entry* seg, double* psd, std::uint32_t m); // power into psd
};

extern const butterfly_passes plain_butterflies; // ctfourier.cpp
#if ZENTRI_X86_VECTORS
extern const butterfly_passes avx_butterflies;    // avx_butterflies.cpp
extern const butterfly_passes avx512_butterflies; // avx512_butterflies.cpp: wider later stages
#endif
