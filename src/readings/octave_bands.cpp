// The fractional-octave bands within a spectrum and their power.
#include "readings/octave_bands.h"
#include "readings/band_power.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr double octave_log10 = 0.3; // log10 of the base-10 octave ratio G = 10^(3/10)

// Edge x of the bands of 1/B octave: the lower edge of band x, the upper edge of
// band x - 1; odd B have the edges at 1000 G^((2x-1)/(2B)), even B at 1000 G^(x/B).
double band_edge(int bands_per_octave, long x)
{
    const long twice = bands_per_octave % 2 == 1 ? 2 * x - 1 : 2 * x;
    return 1000. *
           std::pow(10., octave_log10 * static_cast<double>(twice) / (2. * bands_per_octave));
}

// Mid-band frequency of band x.
double band_centre(int bands_per_octave, long x)
{
    const long twice = bands_per_octave % 2 == 1 ? 2 * x : 2 * x + 1;
    return 1000. *
           std::pow(10., octave_log10 * static_cast<double>(twice) / (2. * bands_per_octave));
}

// The first band whose lower edge is at least low: from an estimate by
// logarithms, moved until the edge itself decides.
long first_band_from(int bands_per_octave, double low)
{
    const double per_decade = bands_per_octave / octave_log10;
    long x = static_cast<long>(std::floor(per_decade * std::log10(low / 1000.))) - 1;
    while (band_edge(bands_per_octave, x) < low) ++x;
    while (band_edge(bands_per_octave, x - 1) >= low) --x;
    return x;
}

} // namespace

bool octave_fraction_known(int bands_per_octave)
{
    const int known[] = {1, 3, 6, 12, 24};
    return std::find(std::begin(known), std::end(known), bands_per_octave) != std::end(known);
}

std::vector<double> octave_centres(int bands_per_octave, double low, double high)
{
    std::vector<double> centres;
    if (!(low > 0.) || !(high >= low) || !std::isfinite(high)) return centres;
    // The band whose lower edge is the first at or above low holds the first centre
    // at or above low, or the one before it does.
    long x = first_band_from(bands_per_octave, low) - 1;
    while (band_centre(bands_per_octave, x) < low) ++x;
    for (; band_centre(bands_per_octave, x) <= high; ++x)
        centres.push_back(band_centre(bands_per_octave, x));
    return centres;
}

std::vector<octave_band> octave_bands(const psd_view& view, int bands_per_octave)
{
    std::vector<octave_band> bands;
    const double low = 0.5 * view.df;
    const double high = (view.bins() - 0.5) * view.df;
    if (view.bins() < 2 || !(low > 0.) || !std::isfinite(high)) return bands;
    long x = first_band_from(bands_per_octave, low);
    while (band_edge(bands_per_octave, x + 1) - band_edge(bands_per_octave, x) < view.df &&
           band_edge(bands_per_octave, x + 1) <= high)
        ++x; // a band narrower than df would only carry a share of one line
    for (;; ++x) {
        const double lower = band_edge(bands_per_octave, x);
        const double upper = band_edge(bands_per_octave, x + 1);
        if (upper > high) break;
        bands.push_back(
            {band_centre(bands_per_octave, x), lower, upper, band_mean_square(view, lower, upper)});
    }
    return bands;
}
