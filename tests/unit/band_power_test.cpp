// Band power over a finished PSD: the closed forms of a flat PSD and the overall rms.
#include "readings/band_power.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// A view of a flat PSD of level p (SI) over every bin, m = 1024, df = 1 Hz, in G.
psd_view flat_view(std::vector<double>& psd, double p, double english)
{
    psd.assign(512, p);
    return {psd.data(), 1024, 1., 8, 1, 2, english};
}

} // namespace

TEST(BandPower, FlatPsdGivesLevelTimesBandwidthAndTheWholeBandTheOverallSum)
{
    std::vector<double> psd;
    const psd_view v = flat_view(psd, 0.04, 1.);
    // Edges inside bins: 20.25..200.75 Hz is 180.5 Hz of band.
    EXPECT_NEAR(band_mean_square(v, 20.25, 200.75), 0.04 * 180.5, 1e-12);
    EXPECT_NEAR(band_rms(v, 20., 200.), std::sqrt(0.04 * 180.), 1e-12);
    // Every bin from 1 on: bin 0 never counts, so the band is (511.5 - 0.5) Hz.
    double overall = 0.;
    for (std::uint32_t k = 1; k < 512; ++k) overall = overall + psd[k];
    EXPECT_EQ(band_rms(v, 0., 1e9), std::sqrt((overall * (1. * 1.)) * 1.));
    EXPECT_EQ(band_mean_square(v, 600., 900.), 0.);
    EXPECT_FALSE(band_in_spectrum(v, 600., 900.));
    EXPECT_TRUE(band_in_spectrum(v, 500., 900.));
}
