// Spectrogram frames and max/min holds, fed by the segments the FFT transforms,
// against the PSD accumulated over the same segments.
#include "spectrum/ctfourier.h"
#include "spectrum/finished_psd.h"
#include "spectrum/segment_power.h"
#include "spectrum/spectrum_frames.h"
#include "spectrum/spectrum_holds.h"
#include "state_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace {

TEST(SegmentSpectra, FramesAverageToThePsdAndHoldsBoundIt)
{
    const double pi = std::acos(-1.);
    for (const double noise_sigma : {1., 0.}) { // noise on a sine; the sine alone
        reset_state();
        st.m = 256, st.nstages = 8, st.nhs = 128, st.df = 1., st.input_type = volts;
        spectrum_frames frames; // frames of 4, 4 and 2 segments below
        spectrum_holds holds;
        frames_start(frames, st.m, 4), holds_start(holds, st.m);
        std::mt19937 gen(11);
        std::normal_distribution<double> d(0., 1.);
        std::vector<double> weighted(st.m / 2, 0.), psd(st.m / 2), most(st.m / 2), least(st.m / 2);
        for (st.nave = 0; st.nave < 10; ++st.nave) {
            for (std::uint32_t i = 0; i < st.m; ++i)
                st.seg[i] = {static_cast<float>(noise_sigma * d(gen) +
                                                3. * std::sin(2. * pi * 20. * i / st.m)),
                             0.f};
            console_of([] {
                reorder_input();
                std::memset(st.twiddle, 0, st.m * sizeof st.twiddle[0]);
                ctfourier();
            });
            holds_take(holds, st.seg);
            if (!frames_take(frames, st.seg) && st.nave != 9) continue;
            frame_psd(frames, st.df, psd.data());
            for (std::uint32_t k = 0; k < st.m / 2; ++k) weighted[k] += psd[k] * frames.taken / 10.;
        }
        finish_psd();
        hold_psd(holds, true, st.df, most.data()), hold_psd(holds, false, st.df, least.data());
        for (std::uint32_t k = 0; k < st.m / 2; ++k) {
            EXPECT_NEAR(weighted[k], st.psd[k], 1e-12 * st.psd[k]) << k;
            EXPECT_TRUE(most[k] >= st.psd[k] * (1. - 1e-12) && least[k] <= st.psd[k] * (1. + 1e-12))
                << k;
        }
        // A steady sine of amplitude 3 on line 20: (3^2 / 2) / df, in the max-hold and the PSD.
        EXPECT_TRUE(noise_sigma > 0. ||
                    (std::abs(most[20] - 4.5) < 1e-5 && std::abs(st.psd[20] - 4.5) < 1e-5));
    }
}

// Groups of one to four segments, as a slot's last group may hold: each
// segment's mean and mean square are its own sums in order, bit for bit.
TEST(SegmentSpectra, EveryGroupSumsEachOfItsSegmentsInOrder)
{
    constexpr std::uint32_t m = 64;
    std::mt19937 draw(7);
    std::uniform_real_distribution<float> value(-3.f, 3.f);
    complex_entry entries[chained_segments][m];
    const complex_entry* seg[chained_segments];
    for (int j = 0; j < chained_segments; ++j) {
        for (complex_entry& e : entries[j]) e = {value(draw), value(draw)};
        seg[j] = entries[j];
    }
    for (std::size_t count = 1; count <= chained_segments; ++count) {
        double means[chained_segments], squares[chained_segments];
        chained_sample_means(seg, count, m, means);
        chained_mean_squares(seg, count, m, squares);
        for (std::size_t j = 0; j < count; ++j) {
            double sum = 0., power = 0.;
            for (const complex_entry& e : entries[j]) {
                sum = sum + static_cast<double>(e.re);
                power =
                    power + (static_cast<double>(e.re) * e.re + static_cast<double>(e.im) * e.im);
            }
            EXPECT_EQ(means[j], sum / m) << count << " segments, segment " << j;
            EXPECT_EQ(squares[j], power) << count << " segments, segment " << j;
        }
    }
}

} // namespace
