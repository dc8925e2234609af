// Max-hold and min-hold of the segments' power per bin, normalised as the PSD of one segment.
#include "spectrum/spectrum_holds.h"
#include "spectrum/finished_psd.h"
#include "spectrum/segment_power.h"

void holds_start(spectrum_holds& h, std::uint32_t m)
{
    h = {};
    h.m = m;
    h.most.assign(m / 2, 0.);
    h.least.assign(m / 2, 0.);
}

void holds_take(spectrum_holds& h, const complex_entry* spectrum)
{
    const bool first = h.segments == 0;
    for (std::uint32_t k = 0; k < h.m / 2; ++k) {
        const double p = bin_power(spectrum[k].re, spectrum[k].im);
        if (first || p > h.most[k]) h.most[k] = p;
        if (first || p < h.least[k]) h.least[k] = p;
    }
    h.segments += 1;
}

void hold_psd(const spectrum_holds& h, bool most, double df, double* out)
{
    if (h.segments == 0) return;
    const std::vector<double>& power = most ? h.most : h.least;
    for (std::uint32_t k = 0; k < h.m / 2; ++k) out[k] = psd_of_power(power[k], k, df, 1);
}
