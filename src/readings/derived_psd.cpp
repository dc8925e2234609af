// Integrating and differentiating a finished PSD.
#include "readings/derived_psd.h"

#include <cmath>

namespace {

constexpr int first_motion = 1; // acceleration
constexpr int last_motion = 3;  // displacement

// Whether the quantity is a motion: acceleration, velocity or displacement.
bool motion(int quantity)
{
    return quantity >= first_motion && quantity <= last_motion;
}

} // namespace

bool derivable(int from, int to)
{
    return motion(from) && motion(to) && from != to;
}

int integrations(int from, int to)
{
    return to - from;
}

std::vector<double> derived_psd(const psd_view& view, int integrations)
{
    std::vector<double> out(view.bins(), 0.);
    const double two_pi = 2. * std::acos(-1.);
    for (std::uint32_t k = 1; k < view.bins(); ++k) {
        const double omega = two_pi * (k * view.df);
        out[k] = view.psd[k] * std::pow(omega, -2. * integrations);
    }
    return out;
}
