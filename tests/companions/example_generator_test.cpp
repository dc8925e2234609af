// The example generator and the bundled record: the answers they state are the
// answers zentri gives.
#include "run_program.h"
#include "shell_command.h"
#include "synthesis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string gen = ZENTRI_GEN;
const std::string examples = EXAMPLES_DIR;

// The command line the README gives for the bundled record.
const std::string example_recipe = " -s 1,50 -s 0.5,120 -w 0.0001,10,410 -c 0.5";

// All numbers of a text, in order.
std::vector<double> numbers_of(const std::string& text)
{
    std::istringstream in(text);
    std::vector<double> v;
    for (double x = 0.; in >> x;) v.push_back(x);
    return v;
}

// The number printed after the label, NaN when the label is not there.
double value_after(const std::string& text, const std::string& label)
{
    const std::size_t at = text.find(label);
    if (at == std::string::npos) return std::nan("");
    return std::strtod(text.c_str() + at + label.size(), nullptr);
}

// The value of the row of a two-column result file nearest to frequency f.
double value_near(const std::string& file_text, double f)
{
    const std::vector<double> v = numbers_of(file_text);
    double best = std::nan(""), distance = 1e300;
    for (std::size_t i = 0; i + 1 < v.size(); i += 2) {
        if (std::fabs(v[i] - f) < distance) {
            distance = std::fabs(v[i] - f);
            best = v[i + 1];
        }
    }
    return best;
}

// Mean of the values of rows with frequency in [low, high].
double mean_between(const std::string& file_text, double low, double high)
{
    const std::vector<double> v = numbers_of(file_text);
    double sum = 0.;
    int n = 0;
    for (std::size_t i = 0; i + 1 < v.size(); i += 2) {
        if (v[i] >= low && v[i] <= high) {
            sum += v[i + 1];
            ++n;
        }
    }
    return n > 0 ? sum / n : std::nan("");
}

// The bundled record's text.
std::string example_record()
{
    std::ifstream in(examples + "/example_record.txt", std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(ExampleRecord, IsWhatTheDocumentedCommandMakes)
{
    scratch_dir dir;
    const command_result r = run_command(dir.path(), gen + example_recipe);
    ASSERT_EQ(r.exit_status, 0) << r.err;
    const std::vector<double> made = numbers_of(r.out);
    const std::vector<double> bundled = numbers_of(example_record());
    ASSERT_EQ(bundled.size(), 2u * 4096u);
    ASSERT_EQ(made.size(), bundled.size());
    for (std::size_t i = 0; i < made.size(); ++i) ASSERT_NEAR(made[i], bundled[i], 1e-6) << i;
    EXPECT_NE(r.err.find("expected overall rms: 0.81548 G"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("peak 2.45381 G"), std::string::npos) << r.err;
}

TEST(ExampleRecord, ZentriFindsTheStatedAnswers)
{
    scratch_dir dir;
    dir.write("example_record.txt", example_record());
    const program_run run = run_zentri(dir, "example_record.txt\n1\n1\n1024\n1\n1\n\n");
    ASSERT_EQ(run.exit_status, 1);
    EXPECT_NEAR(value_after(run.console, "overall rms ="), 0.8155, 0.004) << run.console;
    EXPECT_EQ(value_after(run.console, "nave ="), 7.);
    // Each sine sits on a spectral line k/(m dt), at its true frequency.
    const std::string peaks = dir.read("A_Gpk.mag");
    EXPECT_NEAR(value_near(peaks, 50.), 1.0, 0.02);
    EXPECT_NEAR(value_near(peaks, 120.), 0.5, 0.02);
    EXPECT_NE(peaks.find("\n5.0000e+001 "), std::string::npos);
    EXPECT_NEAR(mean_between(dir.read("A_G2Hz.psd"), 150., 400.), 1e-4, 0.15e-4);
}

// A quantity and unit, the answers zentri asks for them, and a sine amplitude in that unit.
struct unit_case {
    const char* quantity;
    const char* unit;
    const char* answers;
    double amplitude;
};

TEST(Generator, ExpectedOverallRmsIsZentrisInEveryQuantity)
{
    const unit_case cases[] = {
        {"acceleration", "m/sec^2", "1\n2\n", 3.},  {"velocity", "m/sec", "2\n2\n", 0.02},
        {"displacement", "mm", "3\n5\n", 0.4},      {"displacement", "micro-inches", "3\n3\n", 80.},
        {"displacement", "meters", "3\n4\n", 2e-4}, {"force", "N", "4\n2\n", 50.},
        {"pressure", "Pa", "5\n2\n", 700.},         {"volts", "V", "6\n", 1.5},
    };
    for (const unit_case& c : cases) {
        SCOPED_TRACE(std::string(c.quantity) + " " + c.unit);
        scratch_dir dir;
        // The sine lies on line 32 of a 256-sample segment: no leakage.
        const command_result r = run_command(
            dir.path(), gen + " -n 2048 -r 1024 -s " + std::to_string(c.amplitude) + ",128 -q " +
                            c.quantity + " -u '" + c.unit + "' -o rec.txt");
        ASSERT_EQ(r.exit_status, 0) << r.err;
        const double expected = value_after(r.err, "expected overall rms:");
        const program_run run =
            run_zentri(dir, std::string("rec.txt\n") + c.answers + "256\n2\n1\n\n");
        ASSERT_EQ(run.exit_status, 1);
        EXPECT_NEAR(value_after(run.console, "overall rms =") / expected, 1., 0.002) << r.err;
    }
}

TEST(Generator, NoiseHasTheAskedLevelOverItsBand)
{
    recipe r;
    r.count = 8192;
    r.rate = 1024.;
    r.noises.push_back({0.01, 50., 150.});
    const std::vector<double> x = synthesize(r);
    double squares = 0.;
    for (double v : x) squares += v * v;
    // One whole period of the noise: its variance is exactly level times bandwidth.
    EXPECT_NEAR(noise_variance(r), 1.0, 1e-12);
    EXPECT_NEAR(squares / 8192., 1.0, 1e-9);

    scratch_dir dir;
    ASSERT_EQ(
        run_command(dir.path(), gen + " -n 8192 -w 0.01,50,150 -q volts -o rec.txt").exit_status,
        0);
    const program_run run = run_zentri(dir, "rec.txt\n6\n512\n1\n2\n\n");
    ASSERT_EQ(run.exit_status, 1);
    const std::string psd = dir.read("V2_Hz.psd");
    EXPECT_NEAR(mean_between(psd, 60., 140.), 0.01, 0.001);
    EXPECT_LT(mean_between(psd, 200., 500.), 1e-5);
    EXPECT_NEAR(value_after(run.console, "overall rms ="), 1.0, 0.02);
}

TEST(Generator, NoiseShapedToTheClassicProfileIsWithinIt)
{
    // The README's test: zentri-gen -p, then zentri --profile on the record.
    scratch_dir dir;
    const std::string profile = examples + "/navmat.txt";
    const command_result within = run_command(
        dir.path(), gen + " -p " + profile + " -r 4096 -n 131072 -o rec.txt && " + ZENTRI_BINARY +
                        " -q acceleration -u G -m 1024 --profile " + profile + " rec.txt");
    EXPECT_EQ(within.exit_status, 0) << within.out;
    EXPECT_NE(within.out.find("profile rms = 6.064 G"), std::string::npos) << within.out;
    EXPECT_NE(within.out.find("verdict: within tolerance"), std::string::npos);
}

TEST(Generator, RefusesABadCommandLine)
{
    scratch_dir dir;
    const char* wrong[] = {"-x",         "-s 1,600",      "-s 1",  "-w 1,20,10", "-w 1,10,513",
                           "-n 1",       "-n 2.5",        "-r 0",  "-q 7",       "-q mass",
                           "-u furlong", "-q volts -u G", "extra", "-s 1,50,0,9"};
    for (const char* args : wrong) {
        const command_result r = run_command(dir.path(), gen + " " + args);
        EXPECT_EQ(r.exit_status, 2) << args;
        EXPECT_NE(r.err.find("Usage: zentri-gen"), std::string::npos) << args;
        EXPECT_TRUE(r.out.empty()) << args;
    }
    const command_result help = run_command(dir.path(), gen + " --help");
    EXPECT_EQ(help.exit_status, 0);
    EXPECT_EQ(help.out.rfind("Usage: zentri-gen", 0), 0u);
}

} // namespace
