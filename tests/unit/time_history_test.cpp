// The time history's own figures: statistics against closed forms and a direct
// two-pass computation, clipping, histogram counts over the written edges, running
// windows of a burst, and the reverse-arrangements test of stationarity.
#include "test_pi.h"
#include "readings/record_statistics.h"
#include "readings/running_figures.h"
#include "readings/sample_histogram.h"
#include "readings/stationarity.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {


// n samples of Gaussian noise of deviation sigma, from a fixed seed.
std::vector<float> noise(std::size_t n, double sigma, unsigned seed = 3)
{
    std::mt19937 gen(seed);
    std::normal_distribution<double> d(0., sigma);
    std::vector<float> x(n);
    for (float& v : x) v = static_cast<float>(d(gen));
    return x;
}

// The statistics of x fed in uneven blocks, so runs and moments cross block edges.
record_statistics stats_of(const std::vector<float>& x)
{
    record_statistics_state s;
    for (std::size_t at = 0, b = 1; at < x.size(); at += b, b = b % 7 + 1)
        statistics_feed(s, x.data() + at, std::min(b, x.size() - at), at);
    return statistics_finish(s);
}

TEST(TimeHistory, StatisticsMeetClosedFormsAndATwoPassComputation)
{
    std::vector<float> sine(100000), shortrec{3.f, -1.f, 4.f, 1.f, -5.f, 9.f, 2.f, 6.f, -5.f, 3.f};
    for (std::size_t i = 0; i < sine.size(); ++i) sine[i] = static_cast<float>(2. * std::sin(2. * pi * i / 100.));
    const record_statistics g = stats_of(noise(200000, 2.)), s = stats_of(sine);
    EXPECT_NEAR(g.skewness, 0., 4. * std::sqrt(6. / 200000)); // within 4 standard errors
    EXPECT_NEAR(g.kurtosis, 3., 4. * std::sqrt(24. / 200000));
    EXPECT_TRUE(std::abs(s.kurtosis - 1.5) < 1e-6 && std::abs(s.crest_factor - std::sqrt(2.)) < 1e-6);
    double mean = 0., m2 = 0., m3 = 0., m4 = 0.; // two passes over the short record
    for (float v : shortrec) mean += v / 10.;
    for (float v : shortrec) m2 += std::pow(v - mean, 2) / 10., m3 += std::pow(v - mean, 3) / 10., m4 += std::pow(v - mean, 4) / 10.;
    const record_statistics r = stats_of(shortrec);
    const double got[] = {r.minimum, r.maximum, r.mean, r.peak, r.crest_factor, r.skewness, r.kurtosis};
    const double want[] = {-5., 9., mean, 9. - mean, (9. - mean) / std::sqrt(m2), m3 / std::pow(m2, 1.5), m4 / (m2 * m2)};
    for (int i = 0; i < 7; ++i) EXPECT_NEAR(got[i], want[i], 1e-12) << i;
    EXPECT_EQ(r.peak_at, 5u);
}

// Samples of x at its largest or smallest value in runs of 3 or more, counted directly.
std::uint64_t clipped_directly(const std::vector<float>& x)
{
    const auto [lo, hi] = std::minmax_element(x.begin(), x.end());
    std::uint64_t count = 0;
    for (std::size_t i = 0, j = 0; i < x.size(); i = j) {
        for (j = i; j < x.size() && x[j] == x[i]; ++j) {}
        if (j - i >= 3 && (x[i] == *lo || x[i] == *hi)) count += j - i;
    }
    return count;
}

TEST(TimeHistory, ClippedRecordsCountAndCleanOnesDoNot)
{
    std::vector<float> clipped = noise(50000, 0.1), early = noise(2000, 1.);
    for (std::size_t i = 0; i < clipped.size(); ++i) // a sine on noise, clipped near its crests
        clipped[i] = std::clamp(clipped[i] + 3.f * static_cast<float>(std::sin(i * 0.01)), -2.5f, 2.5f);
    early[10] = early[11] = early[12] = 9.f; // a run at a maximum a later sample outgrows
    early[1500] = 10.f;
    const std::vector<float> cases[] = {noise(100000, 1.), early, clipped, {1.f, 5.f, 5.f, 0.f, 5.f, 5.f, 5.f, 5.f, 0.f, 0.f, 0.f}};
    for (std::size_t c = 0; c < 4; ++c)
        EXPECT_TRUE(stats_of(cases[c]).clipped == clipped_directly(cases[c]) && (clipped_directly(cases[c]) > 0) == (c >= 2)) << c;
    EXPECT_EQ(stats_of(cases[3]).longest_clip, 4u);
}

TEST(TimeHistory, HistogramCountsAreExactOverTheWrittenEdges)
{
    std::vector<float> grows = noise(20000, 1e-3f, 5), offset = noise(20000, 0.01, 6);
    for (std::size_t i = 0; i < grows.size(); ++i) grows[i] *= static_cast<float>(std::pow(10., i / 2000.));
    for (float& v : offset) v += 1000.f;
    for (const auto& x : {noise(30000, 1.), grows, offset, std::vector<float>(50, 7.f)}) {
        sample_histogram_state h;
        histogram_start(h, 37);
        histogram_feed(h, x.data(), x.size());
        const record_statistics s = stats_of(x);
        const auto rows = histogram_finish(h, s.mean, s.deviation);
        ASSERT_EQ(rows.size(), 37u);
        EXPECT_TRUE(rows[0].centre - rows[0].width / 2. <= s.minimum && rows[36].centre + rows[36].width / 2. > s.maximum);
        std::uint64_t sum = 0;
        for (const histogram_row& r : rows) {
            sum += r.count;
            const double lo = r.centre - r.width / 2., hi = r.centre + r.width / 2.;
            EXPECT_EQ(r.count, std::count_if(x.begin(), x.end(), [&](float v) { return v >= lo && v < hi; }));
        }
        EXPECT_EQ(sum, x.size());
    }
}

TEST(TimeHistory, RunningRmsFollowsABurst)
{
    std::vector<float> x = noise(100000, 1.);
    for (std::size_t i = 40000; i < 60000; ++i) x[i] *= 5.f;
    std::vector<running_window> windows;
    running_figures_state r;
    running_start(r, 10000, [&](const running_window& w) { windows.push_back(w); });
    running_feed(r, x.data(), 55555, 0);
    running_feed(r, x.data() + 55555, x.size() - 55555 - 5000, 55555); // the last half window left out
    ASSERT_EQ(windows.size(), 9u);
    for (std::size_t w = 0; w < windows.size(); ++w) // 5 inside the burst, 1 outside, within 5 %
        EXPECT_TRUE(windows[w].start == w * 10000 && std::abs(windows[w].rms / (w == 4 || w == 5 ? 5. : 1.) - 1.) < 0.05) << w;
}

// The stationarity verdict over segments of 256 samples of x, their mean squares.
stationarity_result verdict(const std::vector<float>& x)
{
    stationarity_state s;
    for (std::size_t at = 0; at + 256 <= x.size(); at += 256) {
        double ms = 0.;
        for (std::size_t i = at; i < at + 256; ++i) ms += x[i] * static_cast<double>(x[i]) / 256.;
        stationarity_take(s, ms);
    }
    return stationarity_finish(s);
}

TEST(TimeHistory, ReverseArrangementsTellALevelChange)
{
    std::vector<float> doubles = noise(256 * 100, 1.);
    for (std::size_t i = doubles.size() / 2; i < doubles.size(); ++i) doubles[i] *= 2.f;
    EXPECT_TRUE(verdict(noise(256 * 100, 1.)).stationary);
    EXPECT_FALSE(verdict(doubles).stationary);
    const stationarity_result many = verdict(noise(256 * 1000, 1.)); // values merged in pairs
    EXPECT_TRUE(many.stationary);
    EXPECT_EQ(many.span * many.segments + 1000 % many.span, 1000u);
    EXPECT_FALSE(verdict(noise(256 * 9, 1.)).tested);
    // Published 5 % bounds (N = 10, 20), and the normal approximation's at N = 100.
    const std::uint32_t n[] = {10, 20, 100};
    const std::uint64_t lower[] = {11, 64, 2145}, upper[] = {33, 125, 2804};
    for (int c = 0; c < 3; ++c)
        EXPECT_TRUE(exact_arrangement_bounds(n[c]).lower == lower[c] && exact_arrangement_bounds(n[c]).upper == upper[c]);
    const arrangement_bounds normal = normal_arrangement_bounds(100);
    EXPECT_TRUE(std::abs(int(normal.lower) - 2145) <= 1 && std::abs(int(normal.upper) - 2804) <= 1);
}

} // namespace
