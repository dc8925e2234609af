// Fatigue: ASTM E1049's rainflow example, a sine and a capped ring-down; Dirlik
// over narrow-band for flat bands; rainflow against Dirlik on a Gaussian record;
// the FDS of a flat PSD in closed form and a profile's cover; usage faults.
#include "random_multisine.h"
#include "readings/fatigue_damage_spectrum.h"
#include "readings/rainflow_count.h"

#include <gtest/gtest.h>

#include <map>

// Rainflow of samples fed in blocks of block: the counts per range, and the state.
static std::map<double, double> rainflow(const std::vector<float>& x, std::size_t block,
                                         rainflow_state& s)
{
    std::map<double, double> counts;
    for (std::size_t i = 0; i < x.size() + block; i += block) {
        if (i < x.size())
            feed_rainflow(s, x.data() + i, std::min(block, x.size() - i));
        else
            finish_rainflow(s);
        for (const rainflow_cycle& c : s.counted) counts[c.range] += c.count;
        s.counted.clear();
    }
    return counts;
}

// A flat PSD of level (units^2/Hz) from lo to hi Hz on lines df apart.
static multisine flat(double lo, double hi, double level, double df)
{
    multisine out{std::vector<double>(static_cast<std::size_t>(hi / df) + 2, 0.), df, {}};
    std::fill(out.psd.begin() + std::lround(lo / df), out.psd.begin() + std::lround(hi / df) + 1,
              level);
    return out;
}

TEST(Rainflow, AstmExampleSineAndCappedRingDown)
{
    rainflow_state s = start_rainflow({1., 1.}, true);
    const std::vector<float> astm{-2, 1, 1, NAN, -3, 5, -1, 3, 3, 3, -4, 4, -2};
    const std::map<double, double> expected{{3., .5}, {4., 1.5}, {6., .5}, {8., 1.}, {9., .5}};
    EXPECT_EQ(rainflow(astm, 1, s), expected);
    EXPECT_EQ(s.non_finite, 1u);
    // 100 periods of a sine of amplitude 3: one full cycle of range 6 per period.
    std::vector<float> sine;
    for (int i = 0; i <= 6400; ++i)
        sine.push_back(static_cast<float>(3. * std::cos(M_PI * i / 32.)));
    rainflow_state miner = start_rainflow({3., 2.}, true);
    EXPECT_EQ(rainflow(sine, 1000, miner), (std::map<double, double>{{6., 100.}}));
    EXPECT_NEAR(miner.damage, 100. * 27. / 2., 1e-9);
    // A ring-down keeps every turning point; capped at 16 it counts the same halves early.
    std::vector<float> ring;
    for (int i = 0; i < 4000; ++i)
        ring.push_back(static_cast<float>(std::exp(-i / 1000.) * std::sin(i / 3.)));
    rainflow_state all = start_rainflow({1., 1.}, true),
                   capped = start_rainflow({1., 1.}, true, 16);
    EXPECT_EQ(rainflow(ring, 100, capped), rainflow(ring, 100, all));
    EXPECT_GT(capped.early_halves, 100u);
}

TEST(SpectralFatigue, DirlikOverNarrowBandForFlatBands)
{
    const double bands[][3] = {{50., 500., 0.817}, {10., 1000., 0.740}, {99., 101., 1.000}};
    for (const auto& b : bands) {
        const multisine psd = flat(b[0], b[1], 2., 0.01);
        const spectral_fatigue f = psd_fatigue(psd.view(5, 0.5), {6., 3.}, 100.);
        EXPECT_NEAR(f.dirlik_damage / f.narrowband_damage, b[2], 0.0005) << b[0];
    }
}

TEST(SpectralFatigue, RainflowOfAGaussianRecordIsWithinTenPercentOfDirlik)
{
    const double fs = 2000., seconds = 500.;
    const multisine record = make_multisine(10., 100., 0.01, 200, fs, seconds);
    rainflow_state s = start_rainflow({6., 1.}, false);
    rainflow(record.samples, record.samples.size(), s);
    const spectral_fatigue f = psd_fatigue(record.view(5, 1.), {6., 1.}, seconds);
    EXPECT_NEAR(s.damage / f.dirlik_damage, 1., 0.1);
}

TEST(FatigueDamageSpectrum, FlatPsdInClosedFormAndAProfilesCover)
{
    // Over a flat PSD G the relative displacement's m0 is G pi fn q/(2 wn^4) and nu is fn.
    const multisine record = flat(0.5, 5000., 1., 0.5);
    const double b = 8., q = 10., t = 60.;
    const std::vector<profile_point> dip{
        {0.5, 1.}, {400., 1.}, {500., 0.25}, {600., 1.}, {5000., 1.}};
    const auto fds =
        fatigue_damage_spectrum(record.view(1, 1.), {100., 500.}, {q, b, t, 2 * t}, &dip);
    const double z2 = M_PI * 100. * q / (2. * std::pow(2. * M_PI * 100., 4.));
    EXPECT_NEAR(fds.points[0].record / (100. * t * std::pow(2. * z2, b / 2.) * 24.), 1., 0.01);
    EXPECT_NEAR(fds.points[0].ratio, 2., 0.02);
    EXPECT_EQ(fds.smallest_ratio_fn, 500.);
    EXPECT_EQ(fds.uncovered, std::vector<double>{500.});
}

TEST(FatigueDamageSpectrum, UsageFaultsAreValues)
{
    const multisine psd = flat(10., 100., 1., 1.);
    auto fault = [&](int quantity, double b, double t) {
        return fatigue_damage_spectrum(psd.view(quantity, 1.), {50.}, {10., b, t, 60.}, nullptr)
            .error;
    };
    EXPECT_NE(fault(1, 0., 60.), "");
    EXPECT_NE(fault(1, 8., 0.), "");
    EXPECT_NE(fault(5, 8., 60.), "");
    EXPECT_NE(psd_fatigue(psd.view(5, 1.), {-1., 1.}, 60.).error, "");
}
