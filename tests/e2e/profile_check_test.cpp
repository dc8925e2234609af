// Scripted runs against a test profile: records shaped to the classic profile, louder or
// notched, judged line by line; broken profiles refused, naming the line, before the record.
#include "console_text.h"
#include "run_program.h"
#include "shaped_record.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <regex>
#include <sstream>
#include <tuple>

namespace {

using args = std::vector<std::string>;

// The classic profile, written with both spellings of a slope.
const char classic[] = "# vibration\n20 +3 dB/oct\n80 0.04  # G^2/Hz\n\n350 0.04\n2000 -3dB/oct\n";

// The classic profile's PSD at f: 3 dB per octave is a factor 10^0.3 per doubling.
double classic_psd(double f)
{
    const double b = 0.3 / std::log10(2.);
    return f < 80. ? 0.04 * std::pow(f / 80., b) : f <= 350. ? 0.04 : 0.04 * std::pow(f / 350., -b);
}

constexpr double rate = 4096.; // with m = 1024, lines 4 Hz apart: 496 from 20 to 2000 Hz

// One period of a record shaped to the classic profile at level times its
// amplitude, 10 dB down from notch_low to notch_high Hz.
std::vector<double> classic_period(double level, double notch_low = 0., double notch_high = 0.)
{
    return shaped_period(1024, 4., [=](double f) {
        return level * level * (f >= notch_low && f <= notch_high ? 0.1 : 1.) * classic_psd(f);
    });
}

// The run of a shaped record against the classic profile.
const args check_run = {"-q",        "1",          "-u",          "G",       "-m",
                        "1024",      "-w",         "rectangular", "-o",      "out",
                        "--summary", "out/s.json", "--profile",   "prof.txt"};

// A record, what the check must find in it, and the exit status.
struct shape_case {
    double level, notch_low, notch_high;
    args more;
    int status;
    double tolerance_db, rms_db;
    int within;                             // lines within, of 496
    std::vector<std::vector<double>> bands; // outside: low, high, worst dB
};

TEST(ProfileCheck, ShapedLouderAndNotchedRecordsAreJudgedLineByLine)
{
    const double notch_db = 10. * std::log10(1. - 0.9 * 26 * 4 * 0.04 / (6.06437 * 6.06437));
    const shape_case cases[] = {
        {1., 0., 0., {}, 0, 3., 0., 496, {}},
        {1.5, 0., 0., {}, 3, 3., 20. * std::log10(1.5), 0, {{20., 2000., 20. * std::log10(1.5)}}},
        {1., 200., 300., {"--tolerance", "2.5"}, 3, 2.5, notch_db, 470, {{200., 300., -10.}}},
        {1., 200., 300., {"--tolerance", "-9:+12"}, 3, 12., notch_db, 470, {{200., 300., -10.}}},
    };
    for (const shape_case& c : cases) {
        SCOPED_TRACE(c.level);
        scratch_dir dir;
        dir.write("prof.txt", classic);
        dir.write("rec.txt",
                  shaped_record({classic_period(c.level, c.notch_low, c.notch_high)}, rate, 4));
        args a = check_run;
        a.insert(a.end(), c.more.begin(), c.more.end());
        a.push_back("rec.txt");
        const program_run run = run_zentri_args(dir, a);
        EXPECT_EQ(run.exit_status, c.status) << run.errors;
        EXPECT_TRUE(holds(run.console, "profile rms = 6.064 G")) << run.console;
        EXPECT_TRUE(holds(run.console, c.status == 0 ? "verdict: within tolerance\n"
                                                     : "verdict: outside tolerance\n"));
        const nlohmann::json s = nlohmann::json::parse(dir.read("out/s.json"));
        const nlohmann::json& p = s["profile"];
        EXPECT_EQ(p["file"], dir.file("prof.txt"));
        EXPECT_TRUE(p["low"] == 20. && p["high"] == 2000.) << p;
        EXPECT_NEAR(p["profile_rms"].get<double>(), 6.06437, 1e-5);
        EXPECT_NEAR(p["measured_rms"].get<double>(), 6.06437 * std::pow(10., c.rms_db / 20.), 0.01);
        EXPECT_NEAR(p["rms_db"].get<double>(), c.rms_db, 0.01);
        EXPECT_EQ(p["tolerance_db"], c.tolerance_db);
        EXPECT_EQ(p["lines"], 496);
        EXPECT_EQ(p["lines_within"], c.within);
        EXPECT_EQ(p["within"], c.status == 0);
        ASSERT_EQ(p["outside"].size(), c.bands.size()) << p;
        for (std::size_t i = 0; i < c.bands.size(); ++i) {
            const nlohmann::json& band = p["outside"][i];
            EXPECT_TRUE(band["low"] == c.bands[i][0] && band["high"] == c.bands[i][1]) << band;
            EXPECT_NEAR(band["worst_db"].get<double>(), c.bands[i][2], 1e-3);
        }
        const double worst_f = p["worst_frequency"];
        EXPECT_NEAR(p["worst_db"].get<double>(), c.bands.empty() ? 0. : c.bands[0][2], 1e-3);
        EXPECT_TRUE(c.bands.empty() || (worst_f >= c.bands[0][0] && worst_f <= c.bands[0][1]));

        // The check file: one row a line checked, its measured PSD the English PSD file's.
        const std::string chk = dir.read("out/A_G2Hz.chk"), psd = dir.read("out/A_G2Hz.psd");
        EXPECT_EQ(s["files"].back()["path"], dir.file("out/A_G2Hz.chk"));
        EXPECT_EQ(s["files"].back()["holds"], "profile check");
        EXPECT_EQ(s["files"].back()["size"], chk.size());
        EXPECT_TRUE(holds(run.console, "\n  " + dir.file("out/A_G2Hz.chk") + "\n"));
        static const std::regex row(R"(((\d\.\d{4}e[+-]\d{3}) ){5} *-?\d+\.\d\d )");
        std::istringstream rows(chk);
        int n = 0;
        for (std::string line; std::getline(rows, line); ++n) {
            EXPECT_TRUE(std::regex_match(line, row) && line.size() == 68) << line;
            EXPECT_TRUE(holds(psd, "\n" + line.substr(0, 12) + line.substr(48, 12) + "\n")) << line;
        }
        EXPECT_EQ(n, 496);
        // The limits of 0.04 G^2/Hz at +-3 dB.
        EXPECT_TRUE(c.status != 0 ||
                    holds(chk, "8.0000e+001 4.0000e-002 2.0047e-002 7.9810e-002 4.0000e-002 "));
    }
}

TEST(ProfileCheck, EveryChannelIsCheckedAndOneOutsideGivesStatusThree)
{
    scratch_dir dir;
    dir.write("prof.txt", classic);
    dir.write("rec.txt", shaped_record({classic_period(1.), classic_period(1.5)}, rate, 4));
    args a = check_run;
    a.insert(a.end(), {"--columns", "all", "rec.txt"});
    const program_run run = run_zentri_args(dir, a);
    EXPECT_EQ(run.exit_status, 3) << run.errors;
    const nlohmann::json s = nlohmann::json::parse(dir.read("out/s.json"));
    EXPECT_EQ(s[0]["profile"]["within"], true);
    EXPECT_EQ(s[1]["profile"]["within"], false);
    EXPECT_EQ(count_lines(dir.read("out/col2/A_G2Hz.chk") + dir.read("out/col3/A_G2Hz.chk")), 992);
    EXPECT_EQ(occurrences(run.console, "verdict: "), 2) << run.console;
}

TEST(ProfileCheck, BrokenProfilesAreUsageErrorsNamingTheLine)
{
    const std::tuple<std::string, args, std::string> cases[] = {
        {"20 +3 dB/oct\n80 +3 dB/oct\n", {}, "prof.txt line 2: the segment from 20 to 80 Hz"},
        {"20 0.01\n80 0\n", {}, "prof.txt line 2: the value 0 must be above 0"},
        {"# two\n20 0.04\n\n80 0.04 G^2/Hz\n", {}, "prof.txt line 4: not a breakpoint"},
        {"20 0.04\n# only one\n", {}, "prof.txt line 2: a profile needs at least two breakpoints"},
        {"80 0.04\n20 0.04\n", {}, "prof.txt line 2: 20 Hz does not follow 80 Hz"},
        {"", {"--profile", "none.txt"}, "--profile none.txt: No such file or directory"},
        {"20 0.04\n80 0.04\n", {"--tolerance", "0"}, "--tolerance 0: a positive number"},
        {std::string(5000, '1'), {}, "prof.txt line 1: the line is longer than 4096 bytes"},
        {"\xef\xbb\xbf" "20 0.01\n80 0\n", {}, "prof.txt line 2: the value 0 must be above"},
        {"20 1e-31\n80 1\n", {}, "prof.txt line 1: the value 1e-031 is outside 1e-030 to"},
        {"20 0.04\n80 0.04\n", {"--tolerance", "61"}, "--tolerance 61: a positive number of dB, "},
    };
    for (const auto& [profile, more, message] : cases) {
        SCOPED_TRACE(message);
        scratch_dir dir;
        dir.write("prof.txt", profile);
        args a = check_run;
        a.insert(a.end(), more.begin(), more.end());
        a.push_back("missing.txt"); // read after the profile: a usage error comes first
        const program_run run = run_zentri_args(dir, a);
        EXPECT_EQ(run.exit_status + run.console.size(), 2u);
        EXPECT_EQ(run.errors.rfind("zentri: " + message, 0), 0u) << run.errors;
        EXPECT_EQ(count_lines(run.errors), 1);
    }
}

TEST(ProfileCheck, ADeadChannelIsAtTheFloorAndAProfileBetweenLinesIsAUsageError)
{
    scratch_dir dir;
    dir.write("prof.txt", "20 0.04\n2000 0.04\n");
    dir.write("between.txt", "4.5 0.04\n7.5 0.04\n"); // lines lie 4 Hz apart
    dir.write("rec.txt", shaped_record({std::vector<double>(1024, 0.)}, rate, 4));
    args a = check_run;
    a.push_back("rec.txt");
    EXPECT_EQ(run_zentri_args(dir, a).exit_status, 3);
    const nlohmann::json s = nlohmann::json::parse(dir.read("out/s.json"));
    EXPECT_EQ(s["profile"]["worst_db"], -300.);
    EXPECT_EQ(s["profile"]["rms_db"], -300.);
    a.insert(a.end() - 1, {"--profile", "between.txt", "-o", "new", "--summary", "new/s.json"});
    const program_run between = run_zentri_args(dir, a);
    EXPECT_EQ(between.exit_status, 2);
    EXPECT_EQ(between.errors, "zentri: the profile from 4.5 to 7.5 Hz covers none of the spectrum's"
                              " lines, df = 4 Hz\n");
    EXPECT_FALSE(dir.exists("new"));
}

} // namespace
