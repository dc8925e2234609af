// Max-hold and min-hold spectra: each bin's largest and smallest single-segment
// power over the record, normalised as the PSD is with nave = 1.
#pragma once

#include "core/analysis_state.h"

#include <cstdint>
#include <vector>

// The accumulator: start it with holds_start, give it every segment's spectrum.
struct spectrum_holds {
    std::uint32_t m = 0;        // samples per segment; the holds have m/2 bins
    std::vector<double> most;   // each bin's largest single-segment power so far
    std::vector<double> least;  // each bin's smallest single-segment power so far
    std::uint64_t segments = 0; // segments taken
};

// Prepares empty holds for segments of m samples.
void holds_start(spectrum_holds& h, std::uint32_t m);

// Takes a segment's scaled spectrum (seg after ctfourier) into both holds.
void holds_take(spectrum_holds& h, const complex_entry* spectrum);

// The max-hold (most true) or min-hold PSD, bins 0..m/2-1 into out; nothing before a segment.
void hold_psd(const spectrum_holds& h, bool most, double df, double* out);
