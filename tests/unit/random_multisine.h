// A Gaussian-like test record with a known PSD: many sines of random phase at
// random lines of a fine grid, a flat band on average, and the PSD of exactly
// those lines, so the record's spectral moments are known without estimating them.
#pragma once

#include "readings/psd_view.h"

#include <cmath>
#include <complex>
#include <random>
#include <vector>

struct multisine {
    std::vector<double> psd;    // SI units^2/Hz at bins k*df, the lines' power over df
    double df;                  // the grid, Hz
    std::vector<float> samples; // the record at rate fs
    // The PSD as the view of a quantity whose first unit is english times the SI one.
    psd_view view(int quantity, double english) const
    {
        return {psd.data(), static_cast<unsigned>(2 * psd.size()), df, 1, quantity, 2, english};
    }
};

// lines sines between lo and hi Hz summing to level (units^2/Hz) over the band,
// seconds long at rate fs; each sine turns by a complex rotation per sample.
inline multisine make_multisine(double lo, double hi, double level, int lines, double fs,
                                double seconds)
{
    multisine out{std::vector<double>(static_cast<std::size_t>(hi * 1000.) + 2, 0.), 0.001, {}};
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> unit(0., 1.);
    const double power = level * (hi - lo) / lines;
    std::vector<std::complex<double>> z, turn;
    for (int i = 0; i < lines; ++i) {
        const auto k = static_cast<std::size_t>((lo + (hi - lo) * unit(random)) * 1000.);
        out.psd[k] += power / out.df;
        z.push_back(std::polar(std::sqrt(2. * power), 2. * M_PI * unit(random)));
        turn.push_back(std::polar(1., 2. * M_PI * static_cast<double>(k) * out.df / fs));
    }
    for (int j = 0; j < static_cast<int>(fs * seconds); ++j) {
        double sum = 0.;
        for (int i = 0; i < lines; ++i) sum += z[i].real(), z[i] *= turn[i];
        out.samples.push_back(static_cast<float>(sum));
    }
    return out;
}
