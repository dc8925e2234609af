// Integrating and differentiating a finished PSD.
#include "readings/derived_psd.h"

#include <algorithm>
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

std::vector<tone> derived_tones(const std::vector<tone>& tones, int integrations,
                                double english_from, double english_to, int count)
{
    std::vector<tone> out;
    const double two_pi = 2. * std::acos(-1.);
    for (const tone& t : tones) {
        const double factor =
            std::pow(two_pi * t.frequency, -integrations) * (english_to / english_from);
        out.push_back({t.frequency, t.rms * factor, t.peak * factor});
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const tone& a, const tone& b) { return a.rms > b.rms; });
    if (static_cast<int>(out.size()) > count)
        out.resize(static_cast<std::size_t>(std::max(count, 0)));
    return out;
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
