// The power of one bin of a segment's scaled spectrum, as the PSD's accumulator
// adds it, and the segment's mean square from its spectrum.
#pragma once

#include "core/analysis_state.h"

#include <cstdint>

// re^2 + im^2 of a bin of the spectrum scaled by 1/m, in double as the accumulator sums it.
inline double bin_power(float re, float im)
{
    return static_cast<double>(re) * re + static_cast<double>(im) * im;
}

// The mean square of the conditioned segment (SI units, window included): the sum of its
// bins' power over all m bins of the scaled spectrum ctfourier leaves in seg.
double segment_mean_square(const complex_entry* spectrum, std::uint32_t m);
