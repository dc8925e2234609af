// The cross-power of the responses against the reference, summed segment by
// segment in double from the float spectra of the segment's transforms, taken
// in the order of the turns.
// Only bins 0..m/2-1 are kept: the records are real, so the rest mirror them.
#include "spectrum/cross_spectrum.h"
#include "core/analysis_state.h"
#include "core/end_run.h"
#include "spectrum/channel_store.h"

#include <cmath>
#include <cstring>

kept_spectra_state kept_spectra{};

namespace {

// Copies bins 0..m/2-1 of the spectrum.
void keep_spectrum(complex_entry* kept, const complex_entry* spectrum)
{
    std::memcpy(kept, spectrum, st.nhs * sizeof spectrum[0]);
}

// Adds conj(X)·Y of the segment into the channel's cross-power, products in double.
void add_cross(int channel, const complex_entry* y)
{
    double* g = channel_cross(channel);
    for (std::uint32_t k = 0; k < st.nhs; ++k) {
        const complex_entry x = kept_spectra.reference_spectrum[k];
        g[2 * static_cast<std::size_t>(k)] +=
            static_cast<double>(x.re) * y[k].re + static_cast<double>(x.im) * y[k].im;
        g[(2 * static_cast<std::size_t>(k)) + 1] +=
            static_cast<double>(x.re) * y[k].im - static_cast<double>(x.im) * y[k].re;
    }
}

} // namespace

int reference_channel()
{
    return st.reference > 0 && st.channels > 0 ? st.reference - st.column : -1;
}

int channel_of_turn(int turn)
{
    const int ref = reference_channel();
    if (ref <= 0 || turn == 0) return turn;
    if (turn == 1) return ref;
    return turn <= ref ? turn - 1 : turn;
}

void cross_spectrum_start()
{
    const int ref = reference_channel();
    if (ref < 0) return;
    for (int c = 0; c < st.channels; ++c)
        if (c != ref) std::memset(channel_cross(c), 0, st.m * sizeof(double));
}

void cross_spectrum_take(int channel, const complex_entry* spectrum)
{
    const int ref = reference_channel();
    if (ref < 0) return;
    if (channel == ref) {
        keep_spectrum(kept_spectra.reference_spectrum, spectrum);
        if (ref != 0) add_cross(0, kept_spectra.first_spectrum);
    } else if (channel == 0) {
        keep_spectrum(kept_spectra.first_spectrum, spectrum);
    } else {
        add_cross(channel, spectrum);
    }
}

void reset_kept_spectra()
{
    std::memset(&kept_spectra, 0, sizeof kept_spectra);
}

void refuse_overflowed_cross(int channel)
{
    const double* gxy = channel_cross(channel);
    for (std::size_t k = 0; k < st.m / 2; ++k)
        if (!std::isfinite(gxy[2 * k]) || !std::isfinite(gxy[2 * k + 1]))
            end_run("the spectrum overflows: the cross-power line %lu at %g Hz is not a finite"
                    " number; no result file was written",
                    static_cast<unsigned long>(k), static_cast<double>(k) * st.df);
}
