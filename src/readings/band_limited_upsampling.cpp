// The Kaiser-windowed sinc taps of the upsampling, the taps of the equaliser
// of a straight line between samples, and the FIR loop.
#include "readings/band_limited_upsampling.h"

#include <cmath>

namespace {

constexpr double kaiser_beta = 7.; // about 70 dB of stop band, pass band flat to 0.43 sr
constexpr double equaliser_beta =
    3.; // the equaliser's window: within 0.08 % of 1/sinc^2 to 0.45 sr
constexpr double pi = 3.14159265358979323846;

// The Kaiser window of shape beta at r of its half width, |r| < 1.
double kaiser(double r, double beta)
{
    return std::cyl_bessel_i(0., beta * std::sqrt(1. - r * r)) / std::cyl_bessel_i(0., beta);
}

// The windowed sinc at u samples from the point, |u| < reach.
double windowed_sinc(double u)
{
    const double window = kaiser(u / upsampling_reach, kaiser_beta);
    return u == 0. ? 1. : window * std::sin(pi * u) / (pi * u);
}

// 1 / sinc^2(v), v in cycles a sample.
double inverse_line_gain(double v)
{
    if (v == 0.) return 1.;
    const double s = std::sin(pi * v) / (pi * v);
    return 1. / (s * s);
}

// The k-th Fourier coefficient of 1 / sinc^2 over -1/2 .. 1/2 cycles a sample (Simpson's rule).
double inverse_line_coefficient(int k)
{
    constexpr int steps = 2000;
    const double h = 1. / steps;
    double sum = 0.;
    for (int j = 0; j <= steps; ++j) {
        const double v = -0.5 + j * h;
        const double weight = j == 0 || j == steps ? 1. : (j % 2 == 1 ? 4. : 2.);
        sum = sum + weight * inverse_line_gain(v) * std::cos(2. * pi * k * v);
    }
    return sum * h / 3.;
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

std::vector<double> equaliser_taps()
{
    std::vector<double> taps(2 * equaliser_reach + 1);
    double sum = 0.;
    for (std::size_t j = 0; j < taps.size(); ++j) {
        const int k = static_cast<int>(j) - equaliser_reach;
        const double r = static_cast<double>(k) / (equaliser_reach + 1);
        taps[j] = inverse_line_coefficient(k) * kaiser(r, equaliser_beta);
        sum = sum + taps[j];
    }
    for (double& tap : taps) tap = tap / sum;
    return taps;
}

void filtered(const double* taps, std::size_t width, const double* x, std::size_t n, double* out)
{
    for (std::size_t i = 0; i < n; ++i) {
        double sum = 0.;
        for (std::size_t t = 0; t < width; ++t) sum = sum + taps[t] * x[i + t];
        out[i] = sum;
    }
}
