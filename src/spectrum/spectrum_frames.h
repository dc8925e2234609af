// Frames of the spectrogram: the power of K consecutive segments summed per bin
// and normalised as the PSD is, with nave the frame's segments.
#pragma once

#include "core/analysis_state.h"

#include <cstdint>
#include <vector>

// The accumulator: start it with frames_start, give it every segment's spectrum.
struct spectrum_frames {
    std::uint32_t m = 0;         // samples per segment; frames have m/2 bins
    std::uint32_t per_frame = 1; // K, segments per frame
    std::vector<double> power;   // the frame's power summed per bin, bins 0..m/2-1
    std::uint32_t taken = 0;     // segments in the frame so far
    std::uint64_t first = 0;     // index (from 0) of the frame's first segment
    std::uint64_t segments = 0;  // segments taken in all
};

// Prepares frames of k segments (1 or more) of m samples each.
void frames_start(spectrum_frames& f, std::uint32_t m, std::uint32_t k);

// Adds a segment's scaled spectrum (seg after ctfourier); true when the frame now holds K
// segments. The next segment taken starts a new frame.
bool frames_take(spectrum_frames& f, const complex_entry* spectrum);

// The frame's one-sided PSD, bins 0..m/2-1 into out, normalised with nave = the frame's
// segments (K, or fewer for the record's last, partial frame); nothing when it holds none.
void frame_psd(const spectrum_frames& f, double df, double* out);
