// Readings over a finished PSD built in the test by a double-precision Welch
// estimate: tones against the amplitude and frequency of the sines, and the fractional-octave
// bands against the base-10 band formula and a flat PSD.
#include "test_pi.h"
#include "readings/octave_bands.h"
#include "readings/tones.h"
#include "reference_dft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

constexpr std::size_t m = 256; // samples per segment; df = 1 Hz, so bin k lies at k Hz

// A record of the sines (amplitude, frequency in bins) on Gaussian noise of deviation sigma.
std::vector<double> record(const std::vector<std::pair<double, double>>& sines, double sigma)
{
    std::mt19937 gen(7);
    std::normal_distribution<double> noise(0., sigma);
    std::vector<double> x(16 * m);
    for (std::size_t n = 0; n < x.size(); ++n) {
        x[n] = sigma > 0. ? noise(gen) : 0.;
        for (std::size_t i = 0; i < sines.size(); ++i) // phases 2 rad apart
            x[n] += sines[i].first * std::sin(2. * pi * sines[i].second * n / m + 0.3 + 2. * i);
    }
    return x;
}

struct tone_case {
    const char* what;
    bool hanning;
    std::vector<std::pair<double, double>> sines; // the strongest first
    double sigma;
    std::size_t listed; // how many of the sines are tones
    double power_kept;  // part of each sine's power the lobe holds
    double tolerance;   // relative, on the rms
    double off;         // on the frequency, bins
    double pull = 0.;   // of the lobe's power-weighted frequency from the sine's, bins
};

TEST(Readings, TonesReadTheAmplitudeOfSinesAndNothingInNoise)
{
    const tone_case cases[] = {
        {"hanning, between lines", true, {{2., 100.5}}, 0., 1, 1., 5e-4, 0.005},
        // The rectangular window's tones are read by its shape: within 0.5 % and 0.05 df.
        {"rectangular, 0.2 bin off", false, {{2., 100.2}}, 0., 1, 1., 5e-3, 0.05},
        {"rectangular, on a line", false, {{2., 64.}}, 0., 1, 1., 5e-3, 0.05},
        {"rectangular, 0.25 bin off", false, {{2., 64.25}}, 0., 1, 1., 5e-3, 0.05},
        {"rectangular, midway", false, {{2., 63.5}}, 0., 1, 1., 5e-3, 0.05},
        {"two tones on a noise floor", true, {{1., 40.3}, {0.25, 90.7}}, 0.1, 2, 1., 2e-2, 0.03},
        {"noise alone", true, {}, 1., 0, 1., 0., 0.},
        {"a sine 120 dB below another: rounding noise", true, {{1., 64.}, {1e-6, 100.}}, 0., 1,
         1., 5e-4, 0.005},
        {"a sine 5 times the floor", true, {{0.34, 60.}}, 1., 0, 1., 0., 0.},
        // One tone, its lobe holding part of the weaker sine too: the count is what is at stake.
        {"a sine inside a stronger one's lobe",
         true,
         {{1., 50.}, {0.6, 52.}},
         0.01,
         1,
         1.,
         0.25,
         0.5},
    };
    for (const tone_case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<double> psd =
            welch_psd(record(c.sines, c.sigma), {m, 1., true, c.hanning});
        const psd_view view{psd.data(), m, 1., 31, 1, c.hanning ? 2 : 1, 1.};
        const std::vector<tone> tones = find_tones(view, 5);
        ASSERT_EQ(tones.size(), c.listed);
        for (std::size_t i = 0; i < tones.size(); ++i) {
            const double rms = c.sines[i].first / std::sqrt(2.) * std::sqrt(c.power_kept);
            EXPECT_NEAR(tones[i].rms, rms, c.tolerance * rms);
            EXPECT_NEAR(tones[i].peak, std::sqrt(2.) * tones[i].rms, 1e-12);
            EXPECT_NEAR(tones[i].frequency, c.sines[i].second + c.pull, c.off);
        }
    }
    const std::vector<double> psd = welch_psd(record({{2., 100.5}}, 0.), {m, 1., true, true});
    EXPECT_EQ(find_tones({psd.data(), m, 1., 31, 1, 2, 1.}, 0).size(), 0u);
}

// Edge x of the 1/b-octave bands, 1000 G^((2x-1)/(2b)) for odd b, 1000 G^(x/b) for even b.
double edge(int b, long x)
{
    return 1000. * std::pow(10., 0.3 * (b % 2 == 1 ? 2. * x - 1. : 2. * x) / (2. * b));
}

TEST(Readings, OctaveBandsAreTheBase10BandsWithinTheLinesAndConservePower)
{
    // A flat PSD of 0.04 over lines 1..m/2-1 of df = 10 Hz: 5 Hz to 1275 Hz; the
    // first bands of 1/6 and 1/24 octave are narrower than df.
    const double df = 10.;
    const std::vector<double> psd(m / 2, 0.04);
    const psd_view view{psd.data(), m, df, 8, 1, 2, 1.};
    for (int b : {1, 3, 6, 24}) {
        SCOPED_TRACE(b);
        const std::vector<octave_band> bands = octave_bands(view, b);
        ASSERT_FALSE(bands.empty());
        long x = std::lround(std::log10(bands.front().lower / 1000.) * 2. * b / 0.6 +
                             (b % 2 == 1 ? 0.5 : 0.));
        EXPECT_TRUE(edge(b, x - 1) < df / 2 || edge(b, x) - edge(b, x - 1) < df)
            << "the band below lies within the lines and is df wide";
        EXPECT_GE(edge(b, x), df / 2);
        EXPECT_GE(edge(b, x + 1) - edge(b, x), df) << "the first band is narrower than df";
        for (const octave_band& band : bands) {
            EXPECT_NEAR(band.lower, edge(b, x), 1e-9 * band.lower);
            EXPECT_NEAR(band.upper, edge(b, x + 1), 1e-9 * band.upper);
            EXPECT_NEAR(band.centre, std::sqrt(band.lower * band.upper), 1e-9 * band.centre);
            EXPECT_NEAR(band.mean_square, 0.04 * (band.upper - band.lower), 1e-12 * band.upper);
            ++x;
        }
        EXPECT_LE(edge(b, x), (m / 2 - 0.5) * df);
        EXPECT_GT(edge(b, x + 1), (m / 2 - 0.5) * df) << "the band above reaches over the lines";
    }
    // Mid-band frequencies: 1000 Hz among the 1/3 octaves, 1000 G^(1/12) among the 1/6 octaves.
    auto has_centre = [&](int b, double f) {
        for (const octave_band& band : octave_bands(view, b))
            if (std::fabs(band.centre - f) < 1e-9) return true;
        return false;
    };
    EXPECT_TRUE(has_centre(3, 1000.));
    EXPECT_TRUE(has_centre(6, 1000. * std::pow(10., 0.3 / 12.)));
}

} // namespace
