// Band power by apportioning each bin's interval to the band.
#include "readings/band_power.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Fraction of bin k's interval [(k - 1/2) df, (k + 1/2) df] that lies in [low, high].
double bin_fraction(const psd_view& view, std::uint32_t k, double low, double high)
{
    const double lo = (k - 0.5) * view.df;
    const double hi = (k + 0.5) * view.df;
    const double overlap = std::min(hi, high) - std::max(lo, low);
    if (!(overlap > 0.)) return 0.;
    return overlap >= hi - lo ? 1. : overlap / view.df;
}

// Sum over bins 1..m/2-1, in order, of PSD times the fraction of the bin in [low, high].
double band_psd_sum(const psd_view& view, double low, double high)
{
    double sum = 0.;
    for (std::uint32_t k = 1; k < view.bins(); ++k) {
        const double part = bin_fraction(view, k, low, high);
        if (part == 1.)
            sum = sum + view.psd[k];
        else if (part > 0.)
            sum = sum + view.psd[k] * part;
    }
    return sum;
}

} // namespace

double band_mean_square(const psd_view& view, double low, double high)
{
    return band_psd_sum(view, low, high) * view.df;
}

double band_rms(const psd_view& view, double low, double high)
{
    // In the order the overall rms is formed: the sum times the factor squared, then times df.
    const double factor = view.english;
    return std::sqrt((band_psd_sum(view, low, high) * (factor * factor)) * view.df);
}

bool band_in_spectrum(const psd_view& view, double low, double high)
{
    return view.bins() > 1 && high > 0.5 * view.df && low < (view.bins() - 0.5) * view.df;
}

double overall_rms(const psd_view& view)
{
    return band_rms(view, 0., std::numeric_limits<double>::infinity());
}
