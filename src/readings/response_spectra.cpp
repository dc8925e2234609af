// VRS, Miles' estimate and ERS of a PSD's lines or of a test profile.
#include "readings/response_spectra.h"

#include "readings/oscillator_response.h"
#include "readings/profile_curve.h"

#include <cmath>
#include <limits>

namespace {

constexpr double pi = 3.141592653589793;
constexpr double none = std::numeric_limits<double>::quiet_NaN();

// Miles' estimate of the rms response at fn from the PSD's value there.
double miles(double fn, double q, double level)
{
    return std::sqrt(pi / 2. * fn * q * level);
}

// The most probable largest peak of a response of this rms over duration seconds.
double extreme(double rms, double fn, double duration)
{
    const double cycles = fn * duration;
    return cycles > 1. ? rms * std::sqrt(2. * std::log(cycles)) : none;
}

// The PSD at fn in the first unit squared, linear between lines; NaN beyond the last line.
double psd_at(const psd_view& view, double fn)
{
    const double place = fn / view.df;
    const double below = std::floor(place);
    if (below + 1. >= view.bins()) return none;
    const auto k = static_cast<std::uint32_t>(below);
    const double level = view.psd[k] + (place - below) * (view.psd[k + 1] - view.psd[k]);
    return level * view.english * view.english;
}

// The profile's value at fn, NaN outside its breakpoints.
double profile_at(const std::vector<profile_point>& profile, double fn)
{
    if (fn < profile.front().frequency || fn > profile.back().frequency) return none;
    return profile_value(profile, fn);
}

} // namespace

std::string response_usage_error(double q, double duration)
{
    if (!(q > 0.)) return "the quality factor must be above 0";
    if (!(duration > 0.)) return "the duration must be above 0 sec";
    return "";
}

response_spectra psd_response_spectra(const psd_view& view, const std::vector<double>& fn, double q,
                                      double duration)
{
    response_spectra out{response_usage_error(q, duration), {}};
    if (out.error.empty() && view.quantity != 1)
        out.error = "the response spectra need an acceleration record";
    if (!out.error.empty()) return out;
    for (const double f : fn) {
        const double rms = std::sqrt(psd_response(view, absolute_gain, f, q).m0) * view.english;
        out.points.push_back({f, rms, miles(f, q, psd_at(view, f)), extreme(rms, f, duration)});
    }
    return out;
}

response_spectra profile_response_spectra(const std::vector<profile_point>& profile,
                                          const std::vector<double>& fn, double q, double duration)
{
    response_spectra out{response_usage_error(q, duration), {}};
    if (!out.error.empty()) return out;
    for (const double f : fn) {
        const double rms = std::sqrt(profile_response(profile, absolute_gain, f, q).m0);
        out.points.push_back(
            {f, rms, miles(f, q, profile_at(profile, f)), extreme(rms, f, duration)});
    }
    return out;
}

response_point largest_response(const response_spectra& spectra)
{
    response_point best{0., 0., none, none};
    for (const response_point& p : spectra.points)
        if (p.vrs > best.vrs) best = p;
    return best;
}
