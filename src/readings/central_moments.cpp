// The figures that follow from a set of running central moments.
#include "readings/central_moments.h"

#include <cmath>

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
