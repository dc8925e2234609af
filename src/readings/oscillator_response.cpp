// Oscillator gains and the moments of its response to PSD lines or a profile.
#include "readings/oscillator_response.h"

#include <cmath>

namespace {

constexpr double two_pi = 6.283185307179586;

// The denominator (1 - r^2)^2 + (2 zeta r)^2 at r = f/fn, zeta = 1/(2q).
double resonance_term(double r, double q)
{
    const double damping = r / q;
    return (1. - r * r) * (1. - r * r) + damping * damping;
}

// The moments of gain * profile over one segment [a, b], Simpson's rule on
// u = ln f (df = f du), with an even number of steps no wider than step.
response_moments segment_response(const profile_point& a, const profile_point& b,
                                  oscillator_gain gain, double fn, double q, double step)
{
    const double span = std::log(b.frequency / a.frequency);
    const double slope = std::log(b.value / a.value) / span;
    const int n = 2 * static_cast<int>(std::ceil(span / (2. * step)));
    const double h = span / n;
    response_moments sum{0., 0.};
    for (int i = 0; i <= n; ++i) {
        const double u = i * h;
        const double f = a.frequency * std::exp(u);
        const double weight = (i == 0 || i == n) ? 1. : (i % 2 == 1 ? 4. : 2.);
        const double term = weight * gain(f, fn, q) * a.value * std::exp(slope * u) * f;
        sum.m0 += term;
        sum.m2 += term * f * f;
    }
    return {sum.m0 * h / 3., sum.m2 * h / 3.};
}

} // namespace

double absolute_gain(double f, double fn, double q)
{
    const double r = f / fn;
    const double damping = r / q;
    return (1. + damping * damping) / resonance_term(r, q);
}

double relative_gain(double f, double fn, double q)
{
    const double wn2 = (two_pi * fn) * (two_pi * fn);
    return 1. / (wn2 * wn2 * resonance_term(f / fn, q));
}

response_moments psd_response(const psd_view& view, oscillator_gain gain, double fn, double q)
{
    response_moments sum{0., 0.};
    for (std::uint32_t k = 1; k < view.bins(); ++k) {
        const double f = k * view.df;
        const double term = gain(f, fn, q) * view.psd[k] * view.df;
        sum.m0 += term;
        sum.m2 += term * f * f;
    }
    return sum;
}

response_moments profile_response(const std::vector<profile_point>& profile, oscillator_gain gain,
                                  double fn, double q)
{
    const double step = 1. / (profile_steps_per_bandwidth * q);
    response_moments sum{0., 0.};
    for (std::size_t i = 1; i < profile.size(); ++i) {
        const response_moments part =
            segment_response(profile[i - 1], profile[i], gain, fn, q, step);
        sum.m0 += part.m0;
        sum.m2 += part.m2;
    }
    return sum;
}
