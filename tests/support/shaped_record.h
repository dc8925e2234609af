// Records of an exact PSD shape: one period of m samples, a cosine of the shape's PSD
// and a seeded random phase on every line k = 1..m/2-1, repeated; with a rectangular
// window and m samples per segment zentri measures the shape itself at every line.
#pragma once

#include <cmath>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

// One period: x[n] = sum over k of sqrt(2 psd(k df) df) cos(2 pi k n / m + phase_k).
inline std::vector<double> shaped_period(std::size_t m, double df,
                                         const std::function<double(double)>& psd)
{
    const double tpi = 2. * std::acos(-1.), step = tpi / static_cast<double>(m);
    std::mt19937_64 random(7);
    std::vector<double> x(m, 0.);
    for (std::size_t k = 1; k < m / 2; ++k) {
        const double amplitude = std::sqrt(2. * psd(static_cast<double>(k) * df) * df);
        const double phase = tpi * static_cast<double>(random() >> 11) * 0x1p-53;
        for (std::size_t n = 0, j = 0; n < m; ++n, j = (j + k) % m)
            x[n] += amplitude * std::cos(step * static_cast<double>(j) + phase);
    }
    return x;
}

// The record text of columns of periods, each repeated: time i/rate, then one
// amplitude per column, "%.9g".
inline std::string shaped_record(const std::vector<std::vector<double>>& columns, double rate,
                                 std::size_t periods)
{
    const std::size_t m = columns.front().size();
    std::string text;
    char field[40];
    for (std::size_t i = 0; i < m * periods; ++i) {
        std::snprintf(field, sizeof field, "%.12g", static_cast<double>(i) / rate);
        text += field;
        for (const std::vector<double>& x : columns) {
            std::snprintf(field, sizeof field, " %.9g", x[i % m]);
            text += field;
        }
        text += "\n";
    }
    return text;
}
