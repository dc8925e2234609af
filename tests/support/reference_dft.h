// Double-precision references for checking the single-precision spectrum:
// a direct DFT, a plain radix-2 FFT and a one-sided Welch PSD. All transforms
// are forward (negative exponent) and scaled by 1/m, like the program's.
#pragma once

#include <cmath>
#include <complex>
#include <cstddef>
#include <vector>

using cplx = std::complex<double>;

// The m roots e^(-i*2*pi*j/m), j = 0..m-1, each from its own exact angle.
inline std::vector<cplx> unit_roots(std::size_t m)
{
    const double tpi = 2. * std::acos(-1.);
    std::vector<cplx> w(m);
    for (std::size_t j = 0; j < m; ++j) {
        const double x = tpi * static_cast<double>(j) / static_cast<double>(m);
        w[j] = cplx(std::cos(x), -std::sin(x));
    }
    return w;
}

// Direct DFT by the defining sum; the angle index n*k is reduced modulo m.
inline std::vector<cplx> direct_dft(const std::vector<double>& x)
{
    const std::size_t m = x.size();
    const std::vector<cplx> w = unit_roots(m);
    std::vector<cplx> out(m);
    for (std::size_t k = 0; k < m; ++k) {
        cplx sum = 0.;
        std::size_t idx = 0;
        for (std::size_t n = 0; n < m; ++n) {
            sum += x[n] * w[idx];
            idx += k;
            if (idx >= m) idx -= m;
        }
        out[k] = sum / static_cast<double>(m);
    }
    return out;
}

// Iterative radix-2 FFT (m a power of two) with twiddles taken from one table of exact roots.
inline std::vector<cplx> plain_fft(const std::vector<double>& x)
{
    const std::size_t m = x.size();
    std::vector<cplx> a(m);
    std::size_t bits = 0;
    while ((std::size_t{1} << bits) < m) ++bits;
    for (std::size_t j = 0; j < m; ++j) {
        std::size_t r = 0;
        for (std::size_t b = 0; b < bits; ++b) r |= ((j >> b) & 1u) << (bits - 1 - b);
        a[r] = x[j];
    }
    const std::vector<cplx> w = unit_roots(m);
    for (std::size_t span = 2; span <= m; span *= 2) {
        const std::size_t half = span / 2, stride = m / span;
        for (std::size_t base = 0; base < m; base += span)
            for (std::size_t t = 0; t < half; ++t) {
                const cplx c = a[base + t + half] * w[t * stride];
                a[base + t + half] = a[base + t] - c;
                a[base + t] += c;
            }
    }
    for (cplx& v : a) v /= static_cast<double>(m);
    return a;
}

// The reference transform: the direct sum up to 4096 points, the plain FFT above.
inline std::vector<cplx> reference_transform(const std::vector<double>& x)
{
    return x.size() <= 4096 ? direct_dft(x) : plain_fft(x);
}

// Settings of a Welch estimate, mirroring the program's answers.
struct welch_setup {
    std::size_t m;       // samples per segment
    double df;           // frequency resolution the program prints, 1/(m*dt)
    bool remove_mean;    // subtract each segment's mean
    bool hanning;        // periodic Hanning window scaled by sqrt(8/3)
    double to_si = 1.;   // factor applied to the samples after windowing
};

// One-sided Welch PSD of bins 0..m/2-1 over 50 % overlapped segments: bin 0
// is the mean power over df, the other bins twice that (negative frequencies folded in).
inline std::vector<double> welch_psd(const std::vector<double>& x, const welch_setup& s,
                                     std::size_t* segments = nullptr)
{
    const std::size_t m = s.m, hop = m / 2;
    const double pi = std::acos(-1.);
    std::vector<double> power(m / 2, 0.);
    std::size_t nave = 0;
    for (std::size_t start = 0; start + m <= x.size(); start += hop, ++nave) {
        std::vector<double> seg(x.begin() + static_cast<std::ptrdiff_t>(start),
                                x.begin() + static_cast<std::ptrdiff_t>(start + m));
        double mean = 0.;
        for (double v : seg) mean += v;
        mean /= static_cast<double>(m);
        for (std::size_t n = 0; n < m; ++n) {
            double v = s.remove_mean ? seg[n] - mean : seg[n];
            if (s.hanning) {
                const double sn = std::sin(pi * static_cast<double>(n) / static_cast<double>(m));
                v *= std::sqrt(8. / 3.) * sn * sn;
            }
            seg[n] = v * s.to_si;
        }
        const std::vector<cplx> bins = reference_transform(seg);
        for (std::size_t k = 0; k < m / 2; ++k) power[k] += std::norm(bins[k]);
    }
    if (segments != nullptr) *segments = nave;
    for (std::size_t k = 0; k < m / 2; ++k)
        power[k] *= (k == 0 ? 1. : 2.) / (s.df * static_cast<double>(nave));
    return power;
}
