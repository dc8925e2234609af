// H1, its phase and the coherence of one bin from the summed spectra.
#include "readings/transfer_function.h"

#include <cmath>

namespace {

// |Gxy|^2 of bin k.
double cross_power(const cross_view& v, std::uint32_t k)
{
    const double re = v.gxy[2 * static_cast<std::size_t>(k)];
    const double im = v.gxy[(2 * static_cast<std::size_t>(k)) + 1];
    return re * re + im * im;
}

} // namespace

double h1_magnitude(const cross_view& v, std::uint32_t k)
{
    if (!(v.gxx[k] > 0.)) return 0.;
    return std::sqrt(cross_power(v, k)) / v.gxx[k];
}

double h1_phase(const cross_view& v, std::uint32_t k)
{
    if (!(v.gxx[k] > 0.)) return 0.;
    // Gxx is real and positive, so H1 has the phase of Gxy.
    const double degrees = std::atan2(v.gxy[(2 * static_cast<std::size_t>(k)) + 1],
                                      v.gxy[2 * static_cast<std::size_t>(k)]) *
                           (180. / std::acos(-1.));
    return degrees <= -180. ? degrees + 360. : degrees;
}

double coherence(const cross_view& v, std::uint32_t k)
{
    const double power = v.gxx[k] * v.gyy[k];
    if (!(power > 0.)) return 0.;
    return cross_power(v, k) / power;
}

transfer_curves transfer_curves_of(const cross_view& v)
{
    transfer_curves c{{}, {}, {}, v.df};
    for (std::uint32_t k = 0; k < v.bins; ++k) {
        c.magnitude.push_back(h1_magnitude(v, k));
        c.phase.push_back(h1_phase(v, k));
        c.coherence.push_back(coherence(v, k));
    }
    return c;
}
