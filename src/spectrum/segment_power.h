// The power of one bin of a segment's scaled spectrum, as the PSD's accumulator
// adds it, the segment's mean square from its spectrum, and the sums over
// several segments at once that the transforming threads take.
#pragma once

#include "core/analysis_state.h"

#include <cstddef>
#include <cstdint>

// re^2 + im^2 of a bin of the spectrum scaled by 1/m, in double as the accumulator sums it.
inline double bin_power(float re, float im)
{
    return static_cast<double>(re) * re + static_cast<double>(im) * im;
}

// The mean square of the conditioned segment (SI units, window included): the sum of its
// bins' power over all m bins of the scaled spectrum ctfourier leaves in seg.
double segment_mean_square(const complex_entry* spectrum, std::uint32_t m);

// Segments whose sums are taken together: four independent chains of additions
// keep the adder busy where one chain waits on each sum before the next.
constexpr int chained_segments = 4;

// The mean squares of the spectra seg[0..count-1] (count at most chained_segments),
// each summed in bin order, so each has the bits of segment_mean_square().
void chained_mean_squares(const complex_entry* const* seg, std::size_t count, std::uint32_t m,
                          double* out);

// The means of the samples (real parts) of seg[0..count-1], each added in order
// in double precision and divided by m, as the dialogue's segment statistics take it.
void chained_sample_means(const complex_entry* const* seg, std::size_t count, std::uint32_t m,
                          double* out);
