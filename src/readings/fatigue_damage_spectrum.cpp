// The FDS of a PSD and of a profile, their ratio and the smallest one.
#include "readings/fatigue_damage_spectrum.h"

#include "readings/oscillator_response.h"
#include "readings/response_spectra.h"
#include "readings/spectral_fatigue.h"

#include <cmath>
#include <limits>

namespace {

constexpr double none = std::numeric_limits<double>::quiet_NaN();

// ln of the damage potential of relative-displacement moments m (m^2) over duration.
double log_damage(const response_moments& m, double exponent, double duration)
{
    return log_narrow_band_damage(m.m0, m.m2, exponent, duration);
}

// The usage fault of the setup, the quantity and the profile's duration.
std::string fds_error(const psd_view& view, const fds_setup& s, bool has_profile)
{
    std::string fault = fatigue_usage_error({s.exponent, 1.}, s.duration);
    if (!fault.empty()) return fault;
    if (has_profile && !(s.test_duration > 0.)) return "the duration must be above 0 sec";
    if (view.quantity != 1) return "the fatigue damage spectrum needs an acceleration record";
    return response_usage_error(s.q, s.duration);
}

// The profile's damage at fn and the ratio, the profile converted to SI (m/sec^2)^2/Hz.
void add_profile(fds_point& p, double log_record, const psd_view& view, const fds_setup& s,
                 const std::vector<profile_point>& profile)
{
    response_moments m = profile_response(profile, relative_gain, p.fn, s.q);
    const double to_si = 1. / (view.english * view.english);
    m.m0 *= to_si;
    m.m2 *= to_si;
    const double log_profile = log_damage(m, s.exponent, s.test_duration);
    p.profile = std::exp(log_profile);
    p.ratio = std::isfinite(log_record) ? std::exp(log_profile - log_record) : none;
}

// The smallest ratio, its frequency and the frequencies the profile does not cover.
void compare(fds_result& out)
{
    for (const fds_point& p : out.points) {
        if (std::isnan(p.ratio)) continue;
        if (std::isnan(out.smallest_ratio) || p.ratio < out.smallest_ratio) {
            out.smallest_ratio = p.ratio;
            out.smallest_ratio_fn = p.fn;
        }
        if (p.ratio < 1.) out.uncovered.push_back(p.fn);
    }
}

} // namespace

fds_result fatigue_damage_spectrum(const psd_view& view, const std::vector<double>& fn,
                                   const fds_setup& setup,
                                   const std::vector<profile_point>* profile)
{
    fds_result out{
        fds_error(view, setup, profile != nullptr), {}, profile != nullptr, none, none, {}};
    if (!out.error.empty()) return out;
    for (const double f : fn) {
        const double log_record = log_damage(psd_response(view, relative_gain, f, setup.q),
                                             setup.exponent, setup.duration);
        fds_point p{f, std::exp(log_record), 0., none};
        if (profile != nullptr) add_profile(p, log_record, view, setup, *profile);
        out.points.push_back(p);
    }
    if (profile != nullptr) compare(out);
    return out;
}
