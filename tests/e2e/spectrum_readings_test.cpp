// What a scripted run reads from its spectrum, checked end to end on a sine
// at a line: its tone, band rms, octave files, velocity and displacement,
// confidence and the full-precision table, in the report and the JSON summary.
#include "console_text.h"
#include "run_program.h"
#include "spectrum_rows.h"
#include "spectrum_run.h"
#include "test_pi.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <regex>
#include <sstream>

namespace {

// The comma-separated fields of line i (0 the header) of a table.
std::vector<std::string> table_line(const std::string& table, int i)
{
    std::istringstream in(table);
    std::string line;
    for (int n = 0; n <= i; ++n) std::getline(in, line);
    std::vector<std::string> fields;
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, ',');) fields.push_back(cell);
    return fields;
}

// A sine of 2 G at line 50 of m = 1024, one segment, Hanning window: the tone
// holds the whole sine, its velocity is A/(2 pi f) and its displacement A/(2 pi f)^2.
// The overall rms of a derived quantity weighs the lines beside the sine's by
// their own 1/f^2n, so it is the sine's within 0.07 %, where the tone is exact.
TEST(SpectrumReadings, SineAtALineGivesItsToneBandsOctavesDerivedQuantitiesAndTable)
{
    const unsigned m = 1024, k0 = 50;
    const double a = 2., df = record_df(m), f0 = k0 * df;
    std::vector<double> x(m);
    for (std::size_t n = 0; n < m; ++n) x[n] = a * std::sin(2. * pi * k0 * n / m + 0.4);
    scratch_dir dir;
    dir.write("rec.txt", record_text(x));
    // clang-format off
    const program_run run = run_zentri_args(dir, {
        "-q", "1", "-u", "G", "-m", "1024", "--no-mean", "--tones", "1",
        "--band", "0:1e9", "--band", "600:700", "--octave", "3",
        "--also", "velocity,displacement", "--table", "-o", "out", "--summary", "s.json", "rec.txt"});
    // clang-format on
    ASSERT_EQ(run.exit_status, 0) << run.errors;
    EXPECT_EQ(count_lines(run.errors), 1) << run.errors;
    EXPECT_TRUE(holds(run.errors, "warning: --band 600:700: beyond the spectrum")) << run.errors;
    EXPECT_TRUE(holds(run.console, "\ntone 48.83 Hz: 1.414e+000 G rms, 2.000e+000 G peak\n"));
    // One segment: 2 degrees of freedom, chi-square quantiles -2 ln(1 - p).
    EXPECT_TRUE(holds(run.console, "\n90 % of lines within -4.8/+12.9 dB of the true PSD (2 "
                                   "degrees of freedom)\n"))
        << run.console;

    const nlohmann::json s = nlohmann::json::parse(dir.read("s.json"));
    const nlohmann::json& r = s["results"];
    EXPECT_EQ(r["dof"], 2);
    EXPECT_NEAR(r["confidence_90_db"][0].get<double>(), 10. * std::log10(1. / -std::log(0.05)),
                1e-9);
    EXPECT_NEAR(r["confidence_90_db"][1].get<double>(), 10. * std::log10(1. / -std::log(0.95)),
                1e-9);
    // Each quantity's tone and overall rms: A/sqrt(2) in its English unit.
    const struct {
        const nlohmann::json& j;
        const char* quantity;
        const char* unit;
        double amplitude;
        std::size_t files;
    } quantities[] = {
        {r, "acceleration", "G", a, 6},
        {r["derived"][0], "velocity", "in/sec", a * 9.81 / (2. * pi * f0) / 0.0254, 8},
        {r["derived"][1], "displacement", "inch", a * 9.81 / std::pow(2. * pi * f0, 2.) / 0.0254,
         16},
    };
    ASSERT_EQ(r["derived"].size(), 2u);
    for (const auto& q : quantities) {
        SCOPED_TRACE(q.quantity);
        const double rms = q.amplitude / std::sqrt(2.);
        const nlohmann::json& t = q.j["tones"][0];
        EXPECT_EQ(q.j["tones"].size(), 1u);
        EXPECT_NEAR(t["frequency"].get<double>(), f0, 1e-6 * f0);
        EXPECT_NEAR(t["rms"].get<double>(), rms, 1e-5 * rms);
        EXPECT_NEAR(t["peak"].get<double>(), q.amplitude, 1e-5 * q.amplitude);
        EXPECT_NEAR(q.j["overall_rms"].get<double>(), rms, 1e-3 * rms);
        EXPECT_EQ(t["unit"], q.unit);
        EXPECT_EQ(q.j["bands"][0]["rms"], q.j["overall_rms"]) << "--band 0:1e9 is the whole";
        EXPECT_EQ(q.j["bands"][1]["rms"], 0.);
        EXPECT_EQ(q.j["bands"][1]["low"], 600.);
        EXPECT_EQ(q.j["bands"][1]["high"], 700.);
        EXPECT_EQ(q.j["bands"][1]["unit"], q.unit);
        if (q.j.contains("quantity")) {
            EXPECT_EQ(q.j["quantity"], q.quantity);
            EXPECT_EQ(q.j["unit"], q.unit);
            EXPECT_EQ(q.j["files"].size(), q.files);
            EXPECT_TRUE(holds(q.j["caption"], std::string(" ") + q.unit)) << q.j["caption"];
            for (const auto& f : q.j["files"])
                EXPECT_TRUE(holds(run.console, "  " + f.get<std::string>() + "\n"));
            EXPECT_TRUE(holds(run.console, std::string("\n") + q.quantity + ": overall rms = "));
        }
    }

    // 6 + 6 + 14 result files, an octave file beside each of their 6 PSD files, the table.
    const nlohmann::json& files = s["files"];
    ASSERT_EQ(files.size(), 33u);
    EXPECT_EQ(files[6]["path"], dir.path() + "/out/A_G2Hz.oct3");
    EXPECT_EQ(files[6]["holds"], "1/3-octave bands: centre (Hz), band PSD, band rms");
    EXPECT_EQ(files[7]["unit"], "Hz, (m/sec^2)^2/Hz, m/sec^2");
    EXPECT_EQ(files[8]["path"], dir.path() + "/out/V_ips2Hz.psd");
    EXPECT_EQ(files[8]["unit"], "(in/sec)^2/Hz");
    EXPECT_EQ(files[32]["path"], dir.path() + "/out/spectrum.csv");

    // The octave rows: the 1/3 octave around 50 Hz (x = -13) holds the sine, in G and in m/sec^2.
    const double lower = 1000. * std::pow(10., 0.3 * -27. / 6.),
                 upper = 1000. * std::pow(10., 0.3 * -25. / 6.);
    for (const auto& [name, unit] :
         {std::pair<const char*, double>{"out/A_G2Hz.oct3", 1.}, {"out/A_ms22Hz.oct3", 9.81}}) {
        SCOPED_TRACE(name);
        const std::string text = dir.read(name);
        std::istringstream in(text);
        static const std::regex row(R"(( -?\d\.\d{4}e[+-]\d{3}){3} )");
        double centre = 0., psd = 0., rms = 0.;
        for (std::string line; std::getline(in, line);) {
            EXPECT_TRUE(std::regex_match(" " + line, row)) << line;
            double c = 0., p = 0., v = 0.;
            std::sscanf(line.c_str(), "%lf %lf %lf", &c, &p, &v);
            if (v > rms) centre = c, psd = p, rms = v;
        }
        EXPECT_NEAR(centre, std::sqrt(lower * upper), 1e-4 * centre);
        EXPECT_NEAR(rms, a * unit / std::sqrt(2.), 1e-4 * a * unit);
        EXPECT_NEAR(psd, a * a * unit * unit / 2. / (upper - lower), 1e-4 * psd);
    }

    // The table: the frequency and every file's value, those of the files to their four decimals.
    const std::string table = dir.read("out/spectrum.csv");
    EXPECT_EQ(count_lines(table), 1 + 512);
    const std::vector<std::string> head = table_line(table, 0), row = table_line(table, 1 + k0);
    ASSERT_EQ(head.size(), 27u);
    ASSERT_EQ(row.size(), 27u);
    EXPECT_EQ(head[0], "frequency (Hz)");
    EXPECT_EQ(std::strtod(row[0].c_str(), nullptr), k0 * r["df"].get<double>()) << row[0];
    for (std::size_t c = 1; c < head.size(); ++c) {
        const std::string name = head[c].substr(0, head[c].find(' '));
        const double value = std::strtod(row[c].c_str(), nullptr);
        EXPECT_NEAR(parse_rows(dir.read("out/" + name))[k0].v, value, 6e-5 * value) << name;
    }
}

} // namespace
