// Scripted runs over records as data loggers write them: a CSV export of three
// channels read in one call, and a record that dropped a block of samples.
#include "run_program.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>

namespace {

// Runs zentri in dir with the arguments; its standard error is left in err.txt.
int run_with(const scratch_dir& dir, const std::string& args)
{
    const std::string command =
        "cd '" + dir.path() + "' && '" ZENTRI_BINARY "' " + args + " >out.txt 2>err.txt";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Line i of a record at 1024 samples/s: the time and channel k's amplitude (k 1 to 3).
std::string sample(int i, int k)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.5g", k * std::sin(i * 0.05 * k) + 0.01 * k);
    return text;
}

TEST(LoggerRecords, ThreeChannelExportGivesThreeFoldersLikeTwoColumnRuns)
{
    scratch_dir dir;
    const char* names[] = {"Accel_X", "Accel_Y", "Accel_Z"};
    std::string csv = "Time,Accel X,Accel Y,Accel Z\n";
    std::string plain[3];
    for (int i = 0; i < 3000; ++i) {
        char t[24];
        std::snprintf(t, sizeof t, "%.6f", i / 1024.);
        csv += t;
        for (int k = 1; k <= 3; ++k) {
            csv += "," + sample(i, k);
            plain[k - 1] += t + (" " + sample(i, k)) + "\n";
        }
        csv += "\n";
    }
    dir.write("log.csv", csv);
    const std::string choices = "-q acceleration -u G -m 256 ";
    ASSERT_EQ(run_with(dir, choices + "--columns all -o out log.csv"), 0) << dir.read("err.txt");
    EXPECT_EQ(dir.read("err.txt"),
              "zentri: skipped 1 header line: \"Time,Accel X,Accel Y,Accel Z\"\n");
    const char* files[] = {"A_G2Hz.psd",   "A_ms22Hz.psd", "A_Grms.mag",
                           "A_ms2rms.mag", "A_Gpk.mag",    "A_ms2_pk.mag"};
    for (int k = 0; k < 3; ++k) {
        const std::string ref = "ref" + std::to_string(k);
        dir.write(ref + ".txt", plain[k]);
        ASSERT_EQ(run_with(dir, choices + "-o " + ref + " " + ref + ".txt"), 0);
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
    ASSERT_EQ(run_with(dir, "-q volts -m 1024 --summary s.json rec.txt"), 0);
    EXPECT_EQ(dir.read("err.txt"),
              "zentri: warning: the time column jumps at line 4097, from 3.999023 to 4.500000 sec"
              " (487 steps of 0.001028 sec); 1 such gap, the largest 487 dt. The spectrum assumes"
              " a constant time step.\n");
    EXPECT_NE(dir.read("s.json").find("\"time_gaps\": 1"), std::string::npos);
}

} // namespace
