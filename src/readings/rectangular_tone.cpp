// Reading a lone tone's frequency and power from the two largest lines of a
// rectangular-window PSD by the Dirichlet kernel's shape.
#include "readings/rectangular_tone.h"

#include <cmath>

namespace {

const double pi = std::acos(-1.);

// The Dirichlet kernel of m samples u bins from the tone: the magnitude share of a line.
double dirichlet(double u, std::uint32_t m)
{
    if (std::fabs(u) < 1e-12) return 1.;
    return std::sin(pi * u) / (m * std::sin(pi * u / m));
}

// The offset d (0 to 1/2 bins) towards the neighbour whose magnitude is r times
// the line's: r = D(1 - d) / D(d), solved exactly, tan(a d) = r sin a / (1 + r cos a), a = pi/m.
double offset_of(double r, std::uint32_t m)
{
    const double a = pi / m;
    return std::atan2(r * std::sin(a), 1. + r * std::cos(a)) / a;
}

} // namespace

rectangular_tone read_rectangular_tone(const psd_view& view, std::uint32_t k)
{
    const double below = k > 1 ? view.psd[k - 1] : 0.;
    const double above = k + 1 < view.bins() ? view.psd[k + 1] : 0.;
    const std::uint32_t n = above >= below ? k + 1 : k - 1; // the larger neighbour
    const double neighbour = above >= below ? above : below;
    const double d = offset_of(std::sqrt(neighbour / view.psd[k]), view.m);
    const double share = dirichlet(d, view.m) * dirichlet(d, view.m) +
                         dirichlet(1. - d, view.m) * dirichlet(1. - d, view.m);
    const double side = n > k ? 1. : -1.;
    return {(k + side * d) * view.df, view.df * (view.psd[k] + neighbour) / share};
}
