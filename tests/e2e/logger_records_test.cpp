// Scripted runs over records as data loggers write them: a CSV export of three
// channels read in one call, and a record that dropped a block of samples.
#include "console_text.h"
#include "run_program.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using args = std::vector<std::string>;

// Line i of a record at 1024 samples/s: the time and channel k's amplitude (k 1 to 3).
std::string sample(int i, int k)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.5g", k * std::sin(i * 0.05 * k) + 0.01 * k);
    return text;
}

TEST(LoggerRecords, ThreeChannelExportGivesThreeFoldersLikeTwoColumnRuns)
{
    // Two columns of one name: the second's folder is named after its column.
    scratch_dir dir;
    const char* names[] = {"Accel_X", "col3", "Accel_Z"};
    std::string csv = "Time,Accel X,Accel X,Accel Z\n";
    std::string plain[3];
    double sums[3] = {};
    for (int i = 0; i < 3000; ++i) {
        char t[24];
        std::snprintf(t, sizeof t, "%.6f", i / 1024.);
        csv += t;
        for (int k = 1; k <= 3; ++k) {
            csv += "," + sample(i, k);
            plain[k - 1] += t + (" " + sample(i, k)) + "\n";
            sums[k - 1] += std::stod(sample(i, k));
        }
        csv += "\n";
    }
    dir.write("log.csv", csv);
    const args choices = {"-q", "acceleration", "-u", "G", "-m", "256", "-o"};
    args all = choices;
    all.insert(all.end(), {"out", "--columns", "all", "--band", "0:1e9", "--summary", "s.json",
                           "log.csv"});
    const program_run run = run_zentri_args(dir, all);
    ASSERT_EQ(run.exit_status, 0) << run.errors;
    EXPECT_EQ(run.errors, "zentri: skipped 1 header line: \"Time,Accel X,Accel X,Accel Z\"\n");
    // Each channel has its own readings: its band of everything is its overall rms.
    const nlohmann::json summary = nlohmann::json::parse(dir.read("s.json"));
    for (int k = 0; k < 3; ++k) {
        const nlohmann::json& results = summary[k]["results"];
        EXPECT_EQ(results["bands"][0]["rms"], results["overall_rms"]) << k;
        EXPECT_TRUE(holds(run.console, "\ncolumn " + std::to_string(k + 2) + ": band 0 to 1e+009 Hz: "));
    }
    const char* files[] = {"A_G2Hz.psd",   "A_ms22Hz.psd", "A_Grms.mag",
                           "A_ms2rms.mag", "A_Gpk.mag",    "A_ms2_pk.mag"};
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(summary[k]["record"]["mean"].get<double>(), sums[k] / 3000, 1e-12);
        const std::string ref = "ref" + std::to_string(k);
        dir.write(ref + ".txt", plain[k]);
        args one = choices;
        one.insert(one.end(), {ref, ref + ".txt"});
        ASSERT_EQ(run_zentri_args(dir, one).exit_status, 0);
        for (const char* f : files) {
            const std::string got = dir.read(std::string("out/") + names[k] + "/" + f);
            EXPECT_FALSE(got.empty()) << names[k] << "/" << f;
            EXPECT_EQ(got, dir.read(ref + "/" + f)) << names[k] << "/" << f;
        }
    }
}

TEST(LoggerRecords, DroppedBlockIsWarnedOnStandardErrorAndCounted)
{
    scratch_dir dir;
    std::string record;
    for (int i = 0; i < 10240; ++i) {
        if (i >= 4096 && i < 4608) continue; // the block the logger dropped
        char line[48];
        std::snprintf(line, sizeof line, "%.6f %s\n", i / 1024., sample(i, 1).c_str());
        record += line;
    }
    dir.write("rec.txt", record);
    const program_run run =
        run_zentri_args(dir, {"-q", "volts", "-m", "1024", "--summary", "s.json", "rec.txt"});
    ASSERT_EQ(run.exit_status, 0);
    EXPECT_EQ(run.errors,
              "zentri: warning: the time column jumps at line 4097, from 3.999023 to 4.500000 sec"
              " (513 steps of 0.000977 sec); 1 such gap, the largest 513 dt. The spectrum assumes"
              " a constant time step.\n");
    EXPECT_NE(dir.read("s.json").find("\"time_gaps\": 1"), std::string::npos);
}

// Times written to 1 ms at 10240 samples/s step by 0 or 1 ms: no gaps, and df
// from the whole record's step, so a 1000 Hz tone lies on line 25 of df = 40 Hz
// (the first segment's stamps give 10200/256 Hz and would show it at 996 Hz).
TEST(LoggerRecords, CoarseTimeStampsKeepTheFrequencyAxis)
{
    scratch_dir dir;
    std::string record;
    char line[48];
    for (int i = 0; i <= 20480; record += line, ++i)
        std::snprintf(line, sizeof line, "%.3f %.6f\n", i / 10240., std::sin(M_PI * i / 5.12));
    dir.write("rec.txt", record);
    const program_run run =
        run_zentri_args(dir, {"-q", "volts", "-m", "256", "-w", "rect", "rec.txt"});
    EXPECT_EQ(run.errors, "zentri: warning: the times of the first segment give 10200.000 samples/"
                          "sec, those of the whole record 10240.000 samples/sec; df is taken from"
                          " the whole record.\n");
    std::istringstream rows(dir.read("V2_Hz.psd"));
    double f = 0., p = 0., peak_f = 0., peak = 0.;
    while (rows >> f >> p)
        std::tie(peak, peak_f) = p > peak ? std::pair(p, f) : std::pair(peak, peak_f);
    EXPECT_EQ(peak_f, 1000.);
}

} // namespace
