// The figures that follow from a set of running central moments.
#include "readings/central_moments.h"

#include <cmath>

void moments_add_block(central_moments& c, const float* x, std::size_t count)
{
    double sum = 0.;
    for (std::size_t i = 0; i < count; ++i) sum += x[i];
    moments_add_summed(c, x, count, sum);
}

void moments_add_summed(central_moments& c, const float* x, std::size_t count, double sum)
{
    if (count == 0) return;
    const double nb = static_cast<double>(count);
    const double mean = sum / nb;
    double m2 = 0.;
    double m3 = 0.;
    double m4 = 0.;
    for (std::size_t i = 0; i < count; ++i) {
        const double d = x[i] - mean;
        const double d2 = d * d;
        m2 += d2;
        m3 += d2 * d;
        m4 += d2 * d2;
    }
    const double na = static_cast<double>(c.n);
    const double n = na + nb;
    const double delta = mean - c.mean;
    const double dn = delta / n;
    const double ab = na * nb;
    c.m4 = c.m4 + m4 + delta * dn * dn * dn * ab * (na * na - ab + nb * nb) +
           6. * dn * dn * (na * na * m2 + nb * nb * c.m2) + 4. * dn * (na * m3 - nb * c.m3);
    c.m3 = c.m3 + m3 + delta * dn * dn * ab * (na - nb) + 3. * dn * (na * m2 - nb * c.m2);
    c.m2 = c.m2 + m2 + delta * dn * ab;
    c.mean = c.mean + dn * nb;
    c.n += count;
}

void extremes_add(central_moments& c, const float* x, std::size_t count, std::uint64_t first)
{
    for (std::size_t i = 0; i < count; ++i) {
        const bool start = c.n == 0 && i == 0;
        if (start || x[i] < c.minimum) {
            c.minimum = x[i];
            c.min_at = first + i;
        }
        if (start || x[i] > c.maximum) {
            c.maximum = x[i];
            c.max_at = first + i;
        }
    }
}

moment_figures figures_of(const central_moments& c)
{
    moment_figures f{0., 0., 0, 0., 0., 0.};
    if (c.n == 0) return f;
    const double n = static_cast<double>(c.n);
    const double above = c.maximum - c.mean;
    const double below = c.mean - c.minimum;
    f.peak = above >= below ? above : below;
    f.peak_at = above >= below ? c.max_at : c.min_at;
    const double variance = c.m2 / n;
    f.deviation = std::sqrt(variance);
    if (!(variance > 0.)) return f;
    f.crest_factor = f.peak / f.deviation;
    f.skewness = (c.m3 / n) / (variance * f.deviation);
    f.kurtosis = (c.m4 / n) / (variance * variance);
    return f;
}
