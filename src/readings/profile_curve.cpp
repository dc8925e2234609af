// The profile's PSD between breakpoints and its integral in closed form.
#include "readings/profile_curve.h"

#include <algorithm>
#include <cmath>

namespace {

// The integral of the power law through (f0, v0) and (f1, v1) from f0 to f1.
// With v = v0 (f/f0)^b the integral is v0 f0 (e^x - 1)/(b + 1), where
// x = (b + 1) ln(f1/f0) = ln(v1 f1 / (v0 f0)); written with expm1 it stays exact
// as b nears -1, and at b = -1 (x = 0, a slope of about -3 dB/oct) it is the
// logarithmic v0 f0 ln(f1/f0).
double segment_integral(const profile_point& a, const profile_point& b)
{
    const double span = std::log(b.frequency / a.frequency);
    const double x = std::log((b.value * b.frequency) / (a.value * a.frequency));
    const double growth = x == 0. ? 1. : std::expm1(x) / x;
    return a.value * a.frequency * span * growth;
}

} // namespace

double profile_value(const std::vector<profile_point>& points, double f)
{
    // The segment whose upper end is the first breakpoint at or above f.
    const auto upper =
        std::lower_bound(points.begin() + 1, points.end() - 1, f,
                         [](const profile_point& p, double freq) { return p.frequency < freq; });
    const profile_point& a = *(upper - 1);
    const profile_point& b = *upper;
    if (f == b.frequency) return b.value;
    const double t = std::log(f / a.frequency) / std::log(b.frequency / a.frequency);
    return a.value * std::exp(t * std::log(b.value / a.value));
}

double profile_mean_square(const std::vector<profile_point>& points)
{
    double sum = 0.;
    for (std::size_t i = 1; i < points.size(); ++i)
        sum = sum + segment_integral(points[i - 1], points[i]);
    return sum;
}
