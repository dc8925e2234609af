// The shock response spectrum through the program: a half-sine pulse against
// the closed values, the check against a shock profile met, missed and broken,
// and a pipe with the helper threads against the file run on one thread.
#include "run_program.h"
#include "spectrum_rows.h"
#include "test_pi.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <sstream>

namespace {

using args = std::vector<std::string>;

constexpr double pulse_rate = 20000.; // samples per second of the pulses' records

// A record at 20 kHz of 0.4 sec in G: a half-sine of amplitude a and duration t from start on.
std::string half_sine(double a, double t, double start = 0.01)
{
    std::string text;
    for (int i = 0; i < 8000; ++i) {
        const double s = i / pulse_rate - start;
        char line[64];
        std::snprintf(line, sizeof line, "%.5f %.9g\n", i / pulse_rate,
                      s >= 0. && s <= t ? a * std::sin(pi * s / t) : 0.);
        text += line;
    }
    return text;
}

const args srs_run = {"-q",    "1",  "-u",  "G",         "-m",        "1024",
                      "--srs", "-o", "out", "--summary", "out/s.json"};

// Runs the shock run with more arguments on rec.txt in dir.
program_run run_srs(const scratch_dir& dir, const args& more)
{
    args a = srs_run;
    a.insert(a.end(), more.begin(), more.end());
    a.push_back("rec.txt");
    return run_zentri_args(dir, a);
}

TEST(ShockSpectrumRun, HalfSineReadsTheClosedValuesAndItsVelocityChange)
{
    scratch_dir dir;
    dir.write("rec.txt", half_sine(100., 0.011));
    const program_run first = run_srs(dir, {});
    ASSERT_EQ(first.exit_status, 0) << first.errors;
    const nlohmann::json s = nlohmann::json::parse(dir.read("out/s.json"));
    EXPECT_NEAR(s["results"]["srs"]["velocity_change"], 2. * 981. * 0.011 / pi, 1e-3);
    EXPECT_NE(first.console.find("; velocity change 6.870e+000 m/sec\n"), std::string::npos);
    const std::vector<std::vector<double>> fns = rows_of(dir.read("out/A_G.srs"));
    // The same pulse in the record's last 320 samples, after its last whole segment.
    dir.write("rec.txt", half_sine(100., 0.011, 0.386));
    ASSERT_EQ(run_srs(dir, {}).exit_status, 0);
    EXPECT_NEAR(nlohmann::json::parse(dir.read("out/s.json"))["results"]["srs"]["velocity_change"],
                2. * 981. * 0.011 / pi, 1e-3);
    // Each fn T of the closed values at the natural frequency nearest to fn/11 ms,
    // the pulse made fn T long there.
    const double rho[] = {0.2, 0.5, 0.8, 1., 2., 5.};
    const double closed[] = {0.7176, 1.4626, 1.6510, 1.6238, 1.2124, 1.0430};
    for (int k = 0; k < 6; ++k) {
        std::size_t near = 0;
        for (std::size_t i = 0; i < fns.size(); ++i)
            if (std::fabs(fns[i][0] * 0.011 - rho[k]) < std::fabs(fns[near][0] * 0.011 - rho[k]))
                near = i;
        SCOPED_TRACE(fns[near][0]);
        dir.write("rec.txt", half_sine(100., rho[k] / fns[near][0]));
        ASSERT_EQ(run_srs(dir, {}).exit_status, 0);
        const std::vector<std::vector<double>> g = rows_of(dir.read("out/A_G.srs"));
        const std::vector<std::vector<double>> ms2 = rows_of(dir.read("out/A_ms2.srs"));
        EXPECT_NEAR(g[near][1] / 100., closed[k], 0.01 * closed[k]);
        EXPECT_NEAR(ms2[near][1] / 981., closed[k], 0.01 * closed[k]);
    }
}

// A shock profile, the arguments after it, the exit status and what the report or error says.
struct shock_profile_case {
    std::string profile;
    args more;
    int status;
    std::string says;
};

TEST(ShockSpectrumRun, ShockProfilesMetMissedInABandAndBroken)
{
    // Above 200 Hz (fn T > 2.2) the half-sine's maximax lies within 100 to 121 G.
    const shock_profile_case cases[] = {
        {"200 105\n2000 105\n", {}, 0, "srs verdict: within tolerance"},
        {"200 105\n500 105\n600 200\n800 200\n900 105\n2000 105\n",
         {},
         3,
         "srs verdict: outside tolerance"},
        {"200 105\n2000 105\n", {"--srs-tolerance", "-0.1:+0.1"}, 3, "outside tolerance"},
        {"200 105\n2000 +0 dB/oct\n", {}, 0, "srs verdict: within tolerance"},
        {"200 105\n100 105\n", {}, 2, "shock.txt line 2: 100 Hz does not follow 200 Hz"},
        {"200 105\n# one\n", {}, 2, "shock.txt line 2: a profile needs at least two"},
        {"200 0\n2000 105\n", {}, 2, "shock.txt line 1: the value 0 must be above 0"},
        {"200 105\n2000 105\n", {"--srs-tolerance", "1:2"}, 2, "--srs-tolerance 1:2: LOW must"},
        {"1 105\n2 105\n", {}, 2, "covers none of the natural frequencies"},
        {"200 105\n2000 105\n", {"-q", "force", "-u", "N"}, 2, "needs an acceleration record"},
        {"200 105\n2000 105\n", {"--q", "0.5"}, 2, "--q 0.5: a quality factor above 0.5"},
        {"200 105\n2000 105\n", {"--fn-range", "10:12000"}, 2, "at or above half the sample"},
    };
    for (const shock_profile_case& c : cases) {
        SCOPED_TRACE(c.says);
        scratch_dir dir;
        dir.write("rec.txt", half_sine(100., 0.011));
        dir.write("shock.txt", c.profile);
        args more = {"--srs-profile", "shock.txt"};
        more.insert(more.end(), c.more.begin(), c.more.end());
        const program_run run = run_srs(dir, more);
        EXPECT_EQ(run.exit_status, c.status) << run.errors;
        EXPECT_NE((c.status == 2 ? run.errors : run.console).find(c.says), std::string::npos)
            << run.console << run.errors;
        if (c.status == 2) {
            EXPECT_EQ(dir.names(), args({"rec.txt", "shock.txt"}));
            continue;
        }
        const nlohmann::json s = nlohmann::json::parse(dir.read("out/s.json"));
        EXPECT_EQ(s["results"]["srs"]["check"]["within"], c.status == 0);
        EXPECT_GT(rows_of(dir.read("out/A_G.srs.chk")).size(), 30u);
    }
}

// Every channel's files of a pipe read with the helper threads are the bytes
// of the file run on one thread.
TEST(ShockSpectrumRun, APipeOnHelperThreadsGivesTheFileRunsBytes)
{
    scratch_dir dir;
    std::string record;
    const std::string pulse = half_sine(100., 0.011);
    std::istringstream lines(pulse);
    int i = 0;
    for (std::string line; std::getline(lines, line); ++i)
        record += line + " " + std::to_string(0.5 * std::sin(0.37 * i)) + "\n";
    dir.write("rec.txt", record.substr(0, record.size() - 7 * 30)); // a short tail
    const std::string run = "$ZENTRI -q 1 -u G -m 1024 --srs --columns all --fn-range 5:9000 ";
    ASSERT_EQ(run_shell(dir, run + "--threads 1 -o one rec.txt"), 0) << dir.read("errors.txt");
    ASSERT_EQ(run_shell(dir, "cat rec.txt | " + run + "--threads 2 -o two -"), 0);
    for (const char* channel : {"/col2/", "/col3/"})
        for (const char* f : {"A_G.srs", "A_ms2.srs", "V_ips.pvss", "V_ms.pvss"}) {
            SCOPED_TRACE(std::string(channel) + f);
            const std::string one = dir.read(std::string("one") + channel + f);
            EXPECT_GT(one.size(), 1000u);
            EXPECT_EQ(dir.read(std::string("two") + channel + f), one);
        }
}

} // namespace
