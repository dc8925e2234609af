// The Kaiser-windowed sinc taps of the upsampling and the interpolated value.
#include "readings/band_limited_upsampling.h"

#include <cmath>

namespace {

constexpr double kaiser_beta = 7.; // about 70 dB of stop band, pass band flat to 0.43 sr
constexpr double pi = 3.14159265358979323846;

// The windowed sinc at u samples from the point, |u| < reach.
double windowed_sinc(double u)
{
    const double r = u / upsampling_reach;
    const double window = std::cyl_bessel_i(0., kaiser_beta * std::sqrt(1. - r * r)) /
                          std::cyl_bessel_i(0., kaiser_beta);
    return u == 0. ? 1. : window * std::sin(pi * u) / (pi * u);
}

} // namespace

std::vector<double> upsampling_taps(int factor)
{
    const int width = 2 * upsampling_reach;
    std::vector<double> taps(static_cast<std::size_t>((factor - 1) * width));
    for (int p = 1; p < factor; ++p) {
        double* phase = taps.data() + static_cast<std::size_t>((p - 1) * width);
        double sum = 0.;
        for (int t = 0; t < width; ++t) {
            phase[t] = windowed_sinc(upsampling_reach - 1 - t + static_cast<double>(p) / factor);
            sum = sum + phase[t];
        }
        for (int t = 0; t < width; ++t) phase[t] = phase[t] / sum;
    }
    return taps;
}

double interpolated(const std::vector<double>& taps, int phase, const double* x)
{
    const int width = 2 * upsampling_reach;
    const double* h = taps.data() + static_cast<std::size_t>((phase - 1) * width);
    const double* from = x - (upsampling_reach - 1);
    double sum = 0.;
    for (int t = 0; t < width; ++t) sum = sum + h[t] * from[t];
    return sum;
}
