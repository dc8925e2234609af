// Spectral moments, the narrow-band and Dirlik damages, and the lives.
#include "readings/spectral_fatigue.h"

#include <cmath>
#include <limits>

namespace {

// Dirlik's mixture of one exponential and two Rayleigh distributions of the
// range over 2 sqrt(m0), as weights, scales and the peak rate.
struct dirlik_mixture {
    double d1;        // weight of the exponential
    double d2;        // weight of the Rayleigh of scale r
    double d3;        // weight of the unit Rayleigh
    double q;         // scale of the exponential
    double r;         // scale of the second Rayleigh
    double peak_rate; // sqrt(m4/m2), peaks per sec
};

// Dirlik's weights and scales from the moments.
dirlik_mixture dirlik_weights(const spectral_moments& m)
{
    const double gamma = m.m2 / std::sqrt(m.m0 * m.m4);
    const double xm = m.m1 / m.m0 * std::sqrt(m.m2 / m.m4);
    const double d1 = 2. * (xm - gamma * gamma) / (1. + gamma * gamma);
    const double rest = 1. - gamma - d1 + d1 * d1;
    const double r = (gamma - xm - d1 * d1) / rest;
    const double d2 = rest / (1. - r);
    const double d3 = 1. - d1 - d2;
    const double q = 1.25 * (gamma - d3 - d2 * r) / d1;
    return {d1, d2, d3, q, r, std::sqrt(m.m4 / m.m2)};
}

} // namespace

std::string fatigue_usage_error(const sn_curve& sn, double duration)
{
    if (!(sn.exponent > 0.)) return "the S-N exponent must be above 0";
    if (!(sn.constant > 0.)) return "the S-N constant must be above 0";
    if (!(duration > 0.)) return "the duration must be above 0 sec";
    return "";
}

spectral_moments psd_moments(const psd_view& view)
{
    spectral_moments m{0., 0., 0., 0.};
    const double factor = view.english * view.english * view.df;
    for (std::uint32_t k = 1; k < view.bins(); ++k) {
        const double f = k * view.df;
        const double g = view.psd[k] * factor;
        m.m0 += g;
        m.m1 += g * f;
        m.m2 += g * f * f;
        m.m4 += g * f * f * f * f;
    }
    return m;
}

double log_narrow_band_damage(double m0, double m2, double exponent, double duration)
{
    if (!(m0 > 0.)) return -std::numeric_limits<double>::infinity();
    const double rate = std::sqrt(m2 / m0);
    return std::log(rate * duration) + exponent / 2. * std::log(2. * m0) +
           std::lgamma(1. + exponent / 2.);
}

double narrow_band_damage(const spectral_moments& m, const sn_curve& sn, double duration)
{
    return std::exp(log_narrow_band_damage(m.m0, m.m2, sn.exponent, duration)) / sn.constant;
}

double dirlik_damage(const spectral_moments& m, const sn_curve& sn, double duration)
{
    if (!(m.m0 > 0.)) return 0.;
    const dirlik_mixture d = dirlik_weights(m);
    const double b = sn.exponent;
    // The mean of S^b with S = Z sqrt(m0), Z distributed as Dirlik's mixture.
    const double moment = d.d1 * std::pow(d.q, b) * std::tgamma(1. + b) +
                          std::pow(2., b / 2.) * std::tgamma(1. + b / 2.) *
                              (d.d2 * std::pow(std::fabs(d.r), b) + d.d3);
    // A PSD of one line (or lines too close to tell apart) leaves Dirlik's
    // weights undefined; its limit there is the narrow-band damage.
    if (!(d.d1 > 0.) || !std::isfinite(moment)) return narrow_band_damage(m, sn, duration);
    return d.peak_rate * duration * std::pow(m.m0, b / 2.) * moment / sn.constant;
}

double fatigue_life(double duration, double damage)
{
    return damage > 0. ? duration / damage : std::numeric_limits<double>::infinity();
}

spectral_fatigue psd_fatigue(const psd_view& view, const sn_curve& sn, double duration)
{
    spectral_fatigue out{fatigue_usage_error(sn, duration), {0., 0., 0., 0.}, 0., 0., 0., 0.};
    if (!out.error.empty()) return out;
    out.moments = psd_moments(view);
    out.narrowband_damage = narrow_band_damage(out.moments, sn, duration);
    out.dirlik_damage = dirlik_damage(out.moments, sn, duration);
    out.narrowband_life = fatigue_life(duration, out.narrowband_damage);
    out.dirlik_life = fatigue_life(duration, out.dirlik_damage);
    return out;
}
