// The generator's inverse FFT (radix 2, in place) that turns a noise spectrum into samples.
#include "inverse_fft.h"

#include <cmath>
#include <utility>

namespace {

// Puts the entries into bit-reversed order of their index.
void bit_reverse(std::vector<std::complex<double>>& x)
{
    const std::size_t n = x.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; (j & bit) != 0; bit >>= 1) j ^= bit;
        j |= bit;
        if (i < j) std::swap(x[i], x[j]);
    }
}

} // namespace

void inverse_fft(std::vector<std::complex<double>>& x)
{
    bit_reverse(x);
    const std::size_t n = x.size();
    const double two_pi = 2. * std::acos(-1.);
    for (std::size_t span = 2; span <= n; span <<= 1) {
        const std::size_t half = span / 2;
        for (std::size_t t = 0; t < half; ++t) {
            const std::complex<double> w =
                std::polar(1., two_pi * static_cast<double>(t) / static_cast<double>(span));
            for (std::size_t base = 0; base < n; base += span) {
                const std::complex<double> a = x[base + t];
                const std::complex<double> b = x[base + t + half] * w;
                x[base + t] = a + b;
                x[base + t + half] = a - b;
            }
        }
    }
}
