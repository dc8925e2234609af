// H1 and the coherence against a reference channel, on a shaker export made
// in the test: the control is white noise, the response that noise through a
// single-degree-of-freedom transmissibility (120 Hz, 5 % damping, bilinear
// transform), a third channel noise of its own. The filter's own response is
// the expected H1.
#include "console_text.h"
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

// The digital SDOF transmissibility (2 z wn s + wn^2) / (s^2 + 2 z wn s + wn^2),
// s = K (1 - 1/z) / (1 + 1/z) with K prewarped to keep the natural frequency.
struct sdof {
    double b[3], a[3];
    sdof(double fn, double zeta)
    {
        const double wn = 2. * M_PI * fn, k = wn / std::tan(wn / (2. * sr)), c = 2. * zeta * wn * k;
        const double w2 = wn * wn;
        b[0] = c + w2, b[1] = 2. * w2, b[2] = w2 - c;
        a[0] = k * k + c + w2, a[1] = 2. * w2 - 2. * k * k, a[2] = k * k - c + w2;
    }
    cplx response(double f) const
    {
        const cplx zi = std::polar(1., -2. * M_PI * f / sr);
        return (b[0] + zi * (b[1] + zi * b[2])) / (a[0] + zi * (a[1] + zi * a[2]));
    }
};

// The rows of a result file, each its numbers; empty when a row is not the
// spectrum rows' format ("%10.4e " per column, three-digit exponents).
std::vector<std::vector<double>> rows_of(const std::string& text, int columns)
{
    const std::regex row("(-?\\d\\.\\d{4}e[+-]\\d{3} ){" + std::to_string(columns) + "}");
    std::vector<std::vector<double>> rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!std::regex_match(line, row)) return {};
        std::istringstream values(line);
        rows.emplace_back(columns);
        for (double& v : rows.back()) values >> v;
    }
    return rows;
}

// The peak of the filter's |H| on a 1 mHz grid and its Q from the half-power points.
void true_resonance(const sdof& h, double& f_peak, double& peak, double& q)
{
    std::vector<double> mag;
    for (int i = 0; i < 140000; ++i) mag.push_back(std::abs(h.response(60. + i * 1e-3)));
    const auto top = std::max_element(mag.begin(), mag.end());
    f_peak = 60. + (top - mag.begin()) * 1e-3, peak = *top;
    auto lo = top, hi = top;
    while (*lo > peak / std::sqrt(2.)) --lo;
    while (*hi > peak / std::sqrt(2.)) ++hi;
    q = f_peak / ((hi - lo) * 1e-3);
}

} // namespace

TEST(Transmissibility, ShakerExportGivesTheFiltersH1ResonanceAndQ)
{
    const sdof h(120., 0.05);
    std::mt19937 gen(7);
    std::normal_distribution<double> noise;
    std::string csv = "Time,Control,Response,Unrelated\n";
    std::string turned = "Time,Unrelated,Response,Control\n"; // the reference last
    double x1 = 0., x2 = 0., y1 = 0., y2 = 0.;
    for (int i = 0; i < 100000; ++i) {
        const double x = noise(gen);
        const double y = (h.b[0] * x + h.b[1] * x1 + h.b[2] * x2 - h.a[1] * y1 - h.a[2] * y2) / h.a[0];
        x2 = x1, x1 = x, y2 = y1, y1 = y;
        const double u = noise(gen);
        char line[96];
        std::snprintf(line, sizeof line, "%.6f,%.5f,%.5f,%.5f\n", i / sr, x, y, u);
        csv += line;
        std::snprintf(line, sizeof line, "%.6f,%.5f,%.5f,%.5f\n", i / sr, u, y, x);
        turned += line;
    }
    scratch_dir dir;
    dir.write("shaker.csv", csv);
    const program_run run =
        run_zentri_args(dir, {"-q", "acceleration", "-u", "G", "-m", "4096", "--columns", "all",
                              "--reference", "2", "-o", "out", "--summary", "s.json", "shaker.csv"});
    ASSERT_EQ(run.exit_status, 0) << run.errors;
    EXPECT_TRUE(std::regex_search(run.console,
                                  std::regex("\nResponse: resonance 1[12]\\d\\.\\d Hz, \\|H1\\| "
                                             "\\d+\\.\\d+, Q \\d+\\.\\d+, coherence 0\\.99\\d "
                                             "\\(reference Control\\)\n")))
        << run.console;
    EXPECT_TRUE(holds(run.console, "(reference Control); no bin reaches coherence 0.8, mean"));

    const auto frf = rows_of(dir.read("out/Response/H1.frf"), 3);
    const auto coh = rows_of(dir.read("out/Response/H1.coh"), 2);
    ASSERT_EQ(frf.size(), 2048u);
    ASSERT_EQ(coh.size(), 2048u);
    int coherent = 0;
    for (std::size_t k = 1; k < frf.size(); ++k) {
        EXPECT_EQ(frf[k][0], k * 0.5);
        EXPECT_EQ(coh[k][0], k * 0.5);
        if (coh[k][1] < 0.95) continue;
        ++coherent;
        const cplx expected = h.response(frf[k][0]);
        EXPECT_NEAR(frf[k][1] / std::abs(expected), 1., 0.03) << frf[k][0] << " Hz";
        EXPECT_NEAR(frf[k][2], std::arg(expected) * 180. / M_PI, 2.) << frf[k][0] << " Hz";
    }
    EXPECT_GT(coherent, 2000);
    double unrelated = 0.;
    for (const auto& r : rows_of(dir.read("out/Unrelated/H1.coh"), 2)) unrelated += r[1] / 2048.;
    EXPECT_LT(unrelated, 0.05);

    double f_peak, peak, q;
    true_resonance(h, f_peak, peak, q);
    const nlohmann::json s = nlohmann::json::parse(dir.read("s.json"));
    const nlohmann::json& t = s[1]["transmissibility"];
    EXPECT_EQ(t["reference"], nlohmann::json({{"column", 2}, {"folder", "Control"}}));
    EXPECT_NEAR(t["peak_frequency"].get<double>(), f_peak, 0.5);
    EXPECT_NEAR(t["peak_magnitude"].get<double>() / peak, 1., 0.03);
    EXPECT_GT(t["coherence_at_peak"].get<double>(), 0.99);
    EXPECT_NEAR(t["q"].get<double>() / q, 1., 0.04);
    EXPECT_EQ(s[1]["files"][7], nlohmann::json({{"path", dir.path() + "/out/Response/H1.coh"},
                                                {"holds", "coherence"},
                                                {"unit", "1"}}));
    EXPECT_LT(s[2]["transmissibility"]["coherence_at_peak"].get<double>(), 0.8);
    EXPECT_FALSE(s[0].contains("transmissibility"));
    EXPECT_EQ(dir.names("out/Control").size(), 6u);

    // The reference after the other channels: the same H1 and coherence, to the byte.
    dir.write("turned.csv", turned);
    ASSERT_EQ(run_zentri_args(dir, {"-q", "1", "-u", "G", "-m", "4096", "--columns", "all",
                                    "--reference", "4", "-o", "turned", "turned.csv"})
                  .exit_status,
              0);
    for (const char* f : {"Response/H1.frf", "Response/H1.coh", "Unrelated/H1.coh"})
        EXPECT_TRUE(dir.read(std::string("turned/") + f) == dir.read(std::string("out/") + f)) << f;
}
