// H1 and the coherence against a reference channel on a shaker export made here:
// white noise, that noise through a known single-degree-of-freedom filter (120 Hz,
// 5 % damping), and noise of its own. The filter's own response is the expected H1.
#include "run_program.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <complex>
#include <cstdio>
#include <random>
#include <regex>
#include <sstream>

namespace {

using cplx = std::complex<double>;
const double sr = 2048.;

// The digital SDOF transmissibility (2 z wn s + wn^2) / (s^2 + 2 z wn s + wn^2) of
// 120 Hz, z = 0.05, by s = K (1 - 1/z) / (1 + 1/z), K prewarped to keep the 120 Hz.
struct sdof {
    double wn = 2. * M_PI * 120., k = wn / std::tan(wn / (2. * sr)), c = 0.1 * wn * k, w2 = wn * wn;
    double b[3] = {c + w2, 2. * w2, w2 - c};
    double a[3] = {k * k + c + w2, 2. * w2 - 2. * k* k, k* k - c + w2};
    cplx response(double f) const
    {
        const cplx zi = std::polar(1., -2. * M_PI * f / sr);
        return (b[0] + zi * (b[1] + zi * b[2])) / (a[0] + zi * (a[1] + zi * a[2]));
    }
};

// The rows of a result file up to the first that is not in the spectrum rows'
// format ("%10.4e " per column, three-digit exponents), each its numbers.
std::vector<std::vector<double>> rows_of(const std::string& text, int columns)
{
    const std::regex row("(-?\\d\\.\\d{4}e[+-]\\d{3} ){" + std::to_string(columns) + "}");
    std::vector<std::vector<double>> rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line) && std::regex_match(line, row);) {
        std::istringstream values(line);
        rows.emplace_back(columns);
        for (double& v : rows.back()) values >> v;
    }
    return rows;
}

} // namespace

TEST(Transmissibility, ShakerExportGivesTheFiltersH1ResonanceAndQ)
{
    const sdof h;
    std::mt19937 gen(7);
    std::normal_distribution<double> noise;
    std::string csv = "Time,Control,Response,Unrelated\n";
    std::string turned = "Time,Unrelated,Response,Control\n"; // the reference last
    double x1 = 0., x2 = 0., y1 = 0., y2 = 0.;
    for (int i = 0; i < 100000; ++i) {
        const double x = noise(gen);
        const double y =
            (h.b[0] * x + h.b[1] * x1 + h.b[2] * x2 - h.a[1] * y1 - h.a[2] * y2) / h.a[0];
        x2 = x1, x1 = x, y2 = y1, y1 = y;
        const double u = noise(gen);
        char line[96], other[96];
        std::snprintf(line, sizeof line, "%.6f,%.5f,%.5f,%.5f\n", i / sr, x, y, u);
        std::snprintf(other, sizeof other, "%.6f,%.5f,%.5f,%.5f\n", i / sr, u, y, x);
        csv += line, turned += other;
    }
    scratch_dir dir;
    dir.write("shaker.csv", csv);
    const program_run run = run_zentri_args(dir, {"-q", "acceleration", "-u", "G", "-m", "4096",
                                                  "--columns", "all", "--reference", "2", "-o",
                                                  "out", "--summary", "s.json", "shaker.csv"});
    ASSERT_EQ(run.exit_status, 0) << run.errors;
    const std::regex line("\nResponse: resonance 119\\.5 Hz, \\|H1\\| [\\d.]+, Q [\\d.]+, "
                          "coherence 0\\.99\\d \\(reference Control\\)\n");
    EXPECT_TRUE(std::regex_search(run.console, line)) << run.console;

    const auto frf = rows_of(dir.read("out/Response/H1.frf"), 3);
    const auto coh = rows_of(dir.read("out/Response/H1.coh"), 2);
    ASSERT_TRUE(frf.size() == 2048u && coh.size() == 2048u);
    for (std::size_t k = 1; k < frf.size(); ++k) {
        EXPECT_EQ(frf[k][0], k * 0.5);
        if (coh[k][1] < 0.95) continue;
        const cplx expected = h.response(frf[k][0]);
        EXPECT_NEAR(frf[k][1] / std::abs(expected), 1., 0.03) << frf[k][0] << " Hz";
        EXPECT_NEAR(frf[k][2], std::arg(expected) * 180. / M_PI, 2.) << frf[k][0] << " Hz";
    }
    double unrelated = 0.;
    for (const auto& r : rows_of(dir.read("out/Unrelated/H1.coh"), 2)) unrelated += r[1] / 2048.;
    EXPECT_LT(unrelated, 0.05);

    // The continuous transmissibility peaks at fn sqrt(sqrt(1 + 8 z^2) - 1) / (2 z), Q near 1/2z.
    const double f_peak = 120. * std::sqrt(std::sqrt(1.02) - 1.) / 0.1;
    const nlohmann::json s = nlohmann::json::parse(dir.read("s.json"));
    const nlohmann::json& t = s[1]["transmissibility"];
    EXPECT_EQ(t["reference"], nlohmann::json({{"column", 2}, {"folder", "Control"}}));
    EXPECT_NEAR(t["peak_frequency"].get<double>(), f_peak, 0.5);
    EXPECT_NEAR(t["peak_magnitude"].get<double>() / std::abs(h.response(f_peak)), 1., 0.03);
    EXPECT_GT(t["coherence_at_peak"].get<double>(), 0.99);
    EXPECT_NEAR(t["q"].get<double>(), 10., 0.3);
    EXPECT_EQ(s[1]["files"][7]["size"], dir.read("out/Response/H1.coh").size());
    nlohmann::json coh_entry = s[1]["files"][7];
    coh_entry.erase("size");
    EXPECT_EQ(coh_entry, nlohmann::json({{"path", dir.path() + "/out/Response/H1.coh"},
                                                {"holds", "coherence"},
                                                {"unit", "1"}}));
    EXPECT_FALSE(s[0].contains("transmissibility"));
    EXPECT_EQ(dir.names("out/Control").size(), 6u);

    // The reference after the other channels: the same files, to the byte.
    dir.write("turned.csv", turned);
    ASSERT_EQ(run_zentri_args(dir, {"-q", "1", "-u", "G", "-m", "4096", "--columns", "all",
                                    "--reference", "4", "-o", "turned", "turned.csv"})
                  .exit_status,
              0);
    for (const char* f : {"Response/H1.frf", "Response/H1.coh", "Unrelated/H1.coh",
                          "Response/A_G2Hz.psd", "Unrelated/A_G2Hz.psd", "Control/A_G2Hz.psd"})
        EXPECT_TRUE(dir.read(std::string("turned/") + f) == dir.read(std::string("out/") + f)) << f;

    // A reference without power: a warning, H1 not available, and no resonance.
    std::string dead = "Time,Dead,Response\n";
    for (int i = 0; i < 8192; ++i)
        dead += std::to_string(i / sr) + ",0," + std::to_string(std::sin(i * 0.3)) + "\n";
    dir.write("dead.csv", dead);
    const program_run no_power = run_zentri_args(
        dir, {"-q", "1", "-u", "G", "-m", "4096", "--columns", "all", "--reference", "2", "-o",
              "dead", "--summary", "dead.json", "dead.csv"});
    EXPECT_EQ(no_power.exit_status, 0);
    EXPECT_NE(no_power.errors.find("the reference Dead has no power"), std::string::npos);
    EXPECT_EQ(no_power.console.find("resonance"), std::string::npos) << no_power.console;
    const nlohmann::json d = nlohmann::json::parse(dir.read("dead.json"));
    EXPECT_TRUE(d[1]["transmissibility"]["peak_magnitude"].is_null());
}
