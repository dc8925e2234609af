// The time history of a scripted run through the program: known statistics,
// clipping, stationarity, the histogram, running figures, spectrogram and holds.
#include "console_text.h"
#include "run_program.h"
#include "spectrum_rows.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <random>
#include <sstream>
#include <vector>

namespace {

using args = std::vector<std::string>;

// Writes the samples, one a line, as rec.txt (a record of --rate 1024).
void write_samples(const scratch_dir& dir, const std::vector<float>& x)
{
    std::string text;
    char line[32];
    for (float v : x) {
        std::snprintf(line, sizeof line, "%.6g\n", v);
        text += line;
    }
    dir.write("rec.txt", text);
}

// n samples of Gaussian noise of deviation sigma, the deviation twice as large from `doubled` on.
std::vector<float> noise(long n, double sigma, long doubled, unsigned seed)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> gauss(0., sigma);
    std::vector<float> x(n);
    for (long i = 0; i < n; ++i) x[i] = static_cast<float>(gauss(random) * (i >= doubled ? 2 : 1));
    return x;
}

// n samples of a sine of frequency f at 1024 samples/sec, cut off at +-clip.
std::vector<float> sine(long n, double f, double clip)
{
    std::vector<float> x(n);
    for (long i = 0; i < n; ++i)
        x[i] = static_cast<float>(
            std::fmax(-clip, std::fmin(clip, std::sin(2 * M_PI * f * i / 1024))));
    return x;
}

// Runs zentri on rec.txt, 1024 samples/sec, m = 256, with the options; its summary.
nlohmann::json run_history(const scratch_dir& dir, const args& options, program_run& run)
{
    args a = {"-q",     "1",    "-u",        "G",      "-m", "256",
              "--rate", "1024", "--summary", "s.json", "-o", "out"};
    a.insert(a.end(), options.begin(), options.end());
    a.push_back("rec.txt");
    run = run_zentri_args(dir, a);
    EXPECT_EQ(run.exit_status, 0) << run.errors;
    return nlohmann::json::parse(dir.read("s.json"));
}

// A record and what its time history must show.
struct history_case {
    const char* what;
    std::vector<float> samples;
    double kurtosis, skewness, crest, tolerance; // crest < 0: not checked
    bool clipped, stationary;
};

TEST(ScriptedRun, TimeHistoryStatisticsClippingAndStationarityOfKnownRecords)
{
    const long n = 12928 + 100; // 100 segments of 256 and a tail
    const double gauss_error = 5 * std::sqrt(24. / n);
    const history_case cases[] = {
        {"Gaussian noise", noise(n, 1., n, 1), 3., 0., -1., gauss_error, false, true},
        {"sine", sine(n, 64.3, 2.), 1.5, 0., std::sqrt(2.), 0.002, false, true},
        {"clipped sine", sine(n, 64.3, 0.8), -1., 0., -1., 0., true, true},
        {"rms doubled halfway", noise(n, 1., n / 2, 2), -1., 0., -1., 0., false, false},
        // Every segment holds the same power: ties, not a trend.
        {"dead channel", std::vector<float>(n, 0.25f), -1., 0., -1., 0., true, true},
    };
    for (const history_case& c : cases) {
        SCOPED_TRACE(c.what);
        scratch_dir dir;
        write_samples(dir, c.samples);
        program_run run;
        const nlohmann::json s = run_history(dir, {"--hold"}, run)["results"];
        const nlohmann::json& st = s["statistics"];
        EXPECT_EQ(st["samples"], n) << "every pair read, the tail too";
        if (c.kurtosis > 0) {
            EXPECT_NEAR(st["kurtosis"].get<double>(), c.kurtosis, c.tolerance);
            EXPECT_NEAR(st["skewness"].get<double>(), c.skewness, c.tolerance);
        }
        EXPECT_EQ(holds(run.errors, "the record may be clipped"), c.clipped) << run.errors;
        if (c.crest > 0) { // a stationary sine's max-hold is its PSD at the tone (line 16)
            EXPECT_NEAR(st["crest_factor"].get<double>(), c.crest, c.tolerance);
            const auto most = rows_of(dir.read("out/A_G2Hz.max"))[16][1];
            EXPECT_NEAR(most, rows_of(dir.read("out/A_G2Hz.psd"))[16][1], 0.01 * most);
        }
        EXPECT_EQ(st["clipped_samples"].get<long>() > 0, c.clipped);
        EXPECT_EQ(s["stationarity"]["stationary"], c.stationary) << s["stationarity"];
        EXPECT_TRUE(holds(run.console, c.stationary ? "\nstationary at the 5 % level"
                                                    : "\nnot stationary at the 5 % level"));
        // The 5 % bounds of 100 values from the count's normal approximation:
        // mean 100*99/4, variance 100*205*99/72.
        const double sd = std::sqrt(100. * 205. * 99. / 72.);
        EXPECT_EQ(s["stationarity"]["segments"], 100);
        EXPECT_NEAR(s["stationarity"]["lower"].get<double>(), 2475. - 1.96 * sd, 2.);
        EXPECT_NEAR(s["stationarity"]["upper"].get<double>(), 2475. + 1.96 * sd, 2.);
    }
}

TEST(ScriptedRun, TimeHistoryStatisticsAgainstATwoPassComputation)
{
    scratch_dir dir;
    std::vector<float> x = noise(3000, 0.5, 3000, 7);
    for (long i = 1000; i < 1010; ++i) x[i] += 4.f; // a shock
    write_samples(dir, x);
    std::vector<double> v; // the samples as the program reads them
    for (const auto& r : rows_of(dir.read("rec.txt"))) v.push_back(static_cast<float>(r[0]));
    double mean = 0, m2 = 0, m3 = 0, m4 = 0, lo = v[0], hi = v[0];
    for (double a : v) mean += a / v.size();
    for (double a : v) {
        const double d = a - mean;
        m2 += d * d / v.size(), m3 += d * d * d / v.size(), m4 += d * d * d * d / v.size();
        lo = std::fmin(lo, a), hi = std::fmax(hi, a);
    }
    program_run run;
    const nlohmann::json st = run_history(dir, {}, run)["results"]["statistics"];
    const double peak = std::fmax(hi - mean, mean - lo);
    EXPECT_EQ(st["minimum"].get<double>(), lo);
    EXPECT_EQ(st["maximum"].get<double>(), hi);
    EXPECT_NEAR(st["peak"].get<double>(), peak, 1e-9);
    EXPECT_NEAR(st["crest_factor"].get<double>(), peak / std::sqrt(m2), 1e-9);
    EXPECT_NEAR(st["skewness"].get<double>(), m3 / std::pow(m2, 1.5), 1e-9);
    EXPECT_NEAR(st["kurtosis"].get<double>(), m4 / (m2 * m2), 1e-9);
    EXPECT_TRUE(holds(run.console, "time history: peak ")) << run.console;
}

TEST(ScriptedRun, TimeHistoryFilesHoldTheirKnownAnswers)
{
    scratch_dir dir;
    std::vector<float> x = noise(20480, 0.1, 20480, 3); // 20 s, a burst of rms 1 from 8 to 12 s
    for (long i = 8 * 1024; i < 12 * 1024; ++i) x[i] *= 10.f;
    write_samples(dir, x);
    program_run run;
    run_history(dir, {"--histogram", "50", "--running", "1", "--spectrogram", "7", "--hold"}, run);
    // The histogram's counts against a direct count over the edges its centres and width give.
    const auto hist = rows_of(dir.read("out/A_G.hist"));
    ASSERT_EQ(hist.size(), 50u);
    const double width = hist[1][0] - hist[0][0];
    long total = 0;
    for (const auto& r : hist) {
        long direct = 0, near_edge = 0;
        for (float a : x) {
            const double lower = r[0] - width / 2, upper = r[0] + width / 2;
            direct += a >= lower && a < upper;
            near_edge += std::fabs(a - lower) < 1e-3 * width || std::fabs(a - upper) < 1e-3 * width;
        }
        EXPECT_NEAR(r[1], direct, near_edge) << "bin at " << r[0];
        total += static_cast<long>(r[1]);
    }
    EXPECT_EQ(total, 20480);
    // The running rms inside the burst and outside it.
    const auto windows = rows_of(dir.read("out/A_G.run"));
    ASSERT_EQ(windows.size(), 20u);
    for (const auto& w : windows)
        EXPECT_NEAR(w[1], w[0] >= 8 && w[0] < 12 ? 1. : 0.1, w[0] >= 8 && w[0] < 12 ? 0.1 : 0.01)
            << "window at " << w[0];
    // The frames' mean weighted by their segments is the PSD; max-hold >= PSD >= min-hold.
    const auto psd = rows_of(dir.read("out/A_G2Hz.psd"));
    const auto most = rows_of(dir.read("out/A_G2Hz.max"));
    const auto least = rows_of(dir.read("out/A_G2Hz.min"));
    const auto sgram = rows_of(dir.read("out/A_G2Hz.sgram"));
    std::vector<double> sum(psd.size(), 0.);
    double frames = 0;
    const double segments = 159; // 1 + (20480 - 256) / 128, 22 frames of 7 and one of 5
    for (std::size_t i = 0, k = 0; i < sgram.size(); ++i, ++k) {
        if (sgram[i].empty()) {
            k = -1;
            continue;
        }
        const double weight = sgram[i][0] < 154 * 128 / 1024. ? 7 : 5;
        sum[k] += weight * sgram[i][2];
        frames += k == 0 ? weight : 0;
    }
    EXPECT_EQ(frames, segments);
    for (std::size_t k = 1; k < psd.size(); ++k) {
        EXPECT_NEAR(sum[k] / segments, psd[k][1], 2e-4 * psd[k][1]) << "line " << k;
        EXPECT_GE(most[k][1], psd[k][1]);
        EXPECT_LE(least[k][1], psd[k][1]);
    }
}

TEST(ScriptedRun, TimeHistoryOfEveryChannelCountsEveryPair)
{
    scratch_dir dir;
    std::string text = "time a b\n";
    for (int i = 0; i < 1000; ++i)
        text += std::to_string(i / 1000.) + " " + std::to_string(i % 7) + " " +
                std::to_string(-(i % 5)) + "\n";
    dir.write("rec.txt", text);
    const program_run run =
        run_zentri_args(dir, {"-q", "1", "-u", "G", "-m", "64", "--columns", "all", "--summary",
                              "s.json", "--histogram", "8", "-o", "out", "rec.txt"});
    ASSERT_EQ(run.exit_status, 0) << run.errors;
    for (const auto& channel : nlohmann::json::parse(dir.read("s.json"))) {
        EXPECT_EQ(channel["results"]["statistics"]["samples"], 1000) << channel["channel"];
        const std::string folder = channel["channel"]["folder"];
        const std::string hist = folder.substr(folder.rfind('/') + 1) + "/A_G.hist";
        long total = 0;
        for (const auto& r : rows_of(dir.read("out/" + hist))) total += static_cast<long>(r[1]);
        EXPECT_EQ(total, 1000) << hist;
    }
}

} // namespace
