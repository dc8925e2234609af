// The spectrogram's frames: per-bin power of K consecutive segments, normalised as the PSD.
#include "spectrum/spectrum_frames.h"
#include "spectrum/finished_psd.h"
#include "spectrum/segment_power.h"

#include <algorithm>

void frames_start(spectrum_frames& f, std::uint32_t m, std::uint32_t k)
{
    f = {};
    f.m = m;
    f.per_frame = k > 0 ? k : 1;
    f.power.assign(m / 2, 0.);
}

bool frames_take(spectrum_frames& f, const complex_entry* spectrum)
{
    if (f.taken == f.per_frame) { // the last frame is done: this segment starts the next
        std::fill(f.power.begin(), f.power.end(), 0.);
        f.taken = 0;
        f.first = f.segments;
    }
    for (std::uint32_t k = 0; k < f.m / 2; ++k)
        f.power[k] += bin_power(spectrum[k].re, spectrum[k].im);
    f.taken += 1;
    f.segments += 1;
    return f.taken == f.per_frame;
}

void frame_psd(const spectrum_frames& f, double df, double* out)
{
    if (f.taken == 0) return;
    for (std::uint32_t k = 0; k < f.m / 2; ++k) out[k] = psd_of_power(f.power[k], k, df, f.taken);
}
