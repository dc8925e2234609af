// A Gaussian-like test record with a known PSD: many sines of random phase at
// random lines of a fine grid, a flat band on average, and the PSD of exactly
// those lines, so the record's spectral moments are known without estimating them.
#pragma once

#include "readings/psd_view.h"

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

struct multisine {
    std::vector<double> psd;    // SI units^2/Hz at bins k*df, the lines' power over df
    double df;                  // the grid, Hz
    std::vector<float> samples; // the record at rate fs
    psd_view view(int quantity, double english) const
    {
        return {psd.data(), static_cast<std::uint32_t>(2 * psd.size()), df, 1, quantity, 2, english};
    }
};

// lines sines between lo and hi Hz summing to level (units^2/Hz) over the band,
// n samples at rate fs; the sines turn by complex rotation, lines at a time.
inline multisine make_multisine(double lo, double hi, double level, int lines, double fs, int n)
{
    const double df = 0.001;
    multisine out{std::vector<double>(static_cast<std::size_t>(hi / df) + 2, 0.), df, {}};
    std::mt19937_64 random(7);
    std::uniform_int_distribution<long> bin(static_cast<long>(lo / df), static_cast<long>(hi / df));
    std::uniform_real_distribution<double> phase(0., 2. * M_PI);
    const double power = level * (hi - lo) / lines;
    std::vector<double> re, im, wr, wi;
    for (int i = 0; i < lines; ++i) {
        const long k = bin(random);
        out.psd[k] += power / df;
        const double p = phase(random), w = 2. * M_PI * k * df / fs, a = std::sqrt(2. * power);
        re.push_back(a * std::cos(p)), im.push_back(a * std::sin(p));
        wr.push_back(std::cos(w)), wi.push_back(std::sin(w));
    }
    for (int j = 0; j < n; ++j) {
        double sum = 0.;
        for (int i = 0; i < lines; ++i) {
            sum += re[i];
            const double r = re[i] * wr[i] - im[i] * wi[i];
            im[i] = re[i] * wi[i] + im[i] * wr[i], re[i] = r;
        }
        out.samples.push_back(static_cast<float>(sum));
    }
    return out;
}
