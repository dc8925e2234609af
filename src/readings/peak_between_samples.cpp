// The peak between two samples: the decaying sine through the two values, and
// the root of its slope by Newton's steps kept inside a shrinking bracket.
#include "readings/peak_between_samples.h"

#include <cmath>

namespace {

// s f over the step and its first two derivatives, f = a + b u + e^(-sigma u) (C cos + D sin).
struct signed_curve {
    double s, a, b, c, d; // sign, line at u = 0, slope, the sine's cosine and sine parts
    double sigma, wd;     // decay rate, damped angular frequency
    double p, q;          // the sine's slope: e^(-sigma u) (p cos + q sin)
};

// s f(u).
double value(const signed_curve& g, double u)
{
    const double e = std::exp(-g.sigma * u);
    return g.s * (g.a + g.b * u + e * (g.c * std::cos(g.wd * u) + g.d * std::sin(g.wd * u)));
}

// s f'(u).
double slope(const signed_curve& g, double u)
{
    const double e = std::exp(-g.sigma * u);
    return g.s * (g.b + e * (g.p * std::cos(g.wd * u) + g.q * std::sin(g.wd * u)));
}

// s f''(u).
double bend(const signed_curve& g, double u)
{
    const double e = std::exp(-g.sigma * u);
    const double pp = g.wd * g.q - g.sigma * g.p, qq = -(g.wd * g.p + g.sigma * g.q);
    return g.s * e * (pp * std::cos(g.wd * u) + qq * std::sin(g.wd * u));
}

// The root of the slope in (0, dt), where it falls from positive to negative.
double top(const signed_curve& g, double dt)
{
    double low = 0., high = dt, u = 0.5 * dt;
    for (int k = 0; k < 60; ++k) {
        const double m = slope(g, u);
        (m > 0. ? low : high) = u;
        const double b = bend(g, u);
        const bool newton = b < 0. && u - m / b > low && u - m / b < high;
        const double next = newton ? u - m / b : 0.5 * (low + high);
        const bool settled = std::fabs(next - u) < 1e-12 * dt;
        u = next;
        if (settled || high - low < 1e-12 * dt) break;
    }
    return u;
}

} // namespace

double peak_between_samples(const step_response& r, double x0, double x1, double f0, double f1,
                            double s)
{
    const double b = (x1 - x0) / r.dt, a = x0 - b * r.lag;
    const double theta = r.wd * r.dt;
    const double c = f0 - a;
    const double d =
        ((f1 - a - b * r.dt) * std::exp(r.sigma * r.dt) - c * std::cos(theta)) / std::sin(theta);
    const signed_curve g{
        s, a, b, c, d, r.sigma, r.wd, r.wd * d - r.sigma * c, -(r.wd * c + r.sigma * d)};
    const double ends = s * f0 > s * f1 ? f0 : f1;
    if (!(slope(g, 0.) > 0. && slope(g, r.dt) < 0.)) return ends;
    const double inside = g.s * value(g, top(g, r.dt));
    return s * inside > s * ends ? inside : ends;
}
