// The peak of |H1| over coherent bins and its half-power Q.
#include "readings/resonance.h"

#include <cmath>

namespace {

// The bins searched: 1..bins-1, or bin 0 alone when it is the only one.
std::uint32_t first_bin(const cross_view& v)
{
    return v.bins > 1 ? 1 : 0;
}

// Whether any searched bin reaches the coherent level.
bool any_coherent(const cross_view& v)
{
    for (std::uint32_t k = first_bin(v); k < v.bins; ++k)
        if (coherence(v, k) >= coherent_level) return true;
    return false;
}

// The coherence averaged over the searched bins.
double mean_coherence(const cross_view& v)
{
    double sum = 0.;
    for (std::uint32_t k = first_bin(v); k < v.bins; ++k) sum += coherence(v, k);
    return sum / (v.bins - first_bin(v));
}

// The bin of the largest |H1| among the searched bins, coherent ones only when there are any.
std::uint32_t peak_bin(const cross_view& v, bool only_coherent)
{
    std::uint32_t best = v.bins;
    for (std::uint32_t k = first_bin(v); k < v.bins; ++k) {
        if (only_coherent && coherence(v, k) < coherent_level) continue;
        if (best == v.bins || h1_magnitude(v, k) > h1_magnitude(v, best)) best = k;
    }
    return best;
}

// The frequency between bins a (above level) and b (at or below it) where |H1|
// crosses level, linearly interpolated.
double crossing(const cross_view& v, std::uint32_t a, std::uint32_t b, double level)
{
    const double ha = h1_magnitude(v, a);
    const double hb = h1_magnitude(v, b);
    const double fa = a * v.df;
    return fa + (b * v.df - fa) * ((ha - level) / (ha - hb));
}

// The half-power frequency on the side of step (-1 below, +1 above) of the
// peak bin; false when |H1| does not fall to level before the searched bins end.
bool half_power(const cross_view& v, std::uint32_t peak, int step, double level, double& f)
{
    std::uint32_t k = peak;
    while (step < 0 ? k > first_bin(v) : k + 1 < v.bins) {
        const std::uint32_t next = step < 0 ? k - 1 : k + 1;
        if (h1_magnitude(v, next) <= level) {
            f = crossing(v, k, next, level);
            return true;
        }
        k = next;
    }
    return false;
}

} // namespace

resonance find_resonance(const cross_view& v)
{
    resonance r{0., 0., 0., false, 0., any_coherent(v), 0., false};
    for (std::uint32_t k = 0; k < v.bins && !r.powered; ++k) r.powered = v.gxx[k] > 0.;
    const std::uint32_t peak = peak_bin(v, r.coherent);
    if (peak == v.bins || !r.powered) return r;
    r.mean_coherence = mean_coherence(v);
    r.frequency = peak * v.df;
    r.magnitude = h1_magnitude(v, peak);
    r.coherence = coherence(v, peak);
    const double level = r.magnitude / std::sqrt(2.);
    double low = 0.;
    double high = 0.;
    if (r.magnitude > 0. && half_power(v, peak, -1, level, low) &&
        half_power(v, peak, +1, level, high) && high > low) {
        r.has_q = true;
        r.q = r.frequency / (high - low);
    }
    return r;
}
