// Whole runs of the built program over records that end the run early or go through.
#include "console_text.h"
#include "record_text.h"
#include "run_program.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(Reader, TenThousandPairsInSegmentsOf1024)
{
    scratch_dir dir;
    const program_run r = run_on_record(dir, even_record(10000, 3), "1\n1\n1024\n2\n1\n");
    EXPECT_EQ(r.exit_status, 1);
    EXPECT_NE(
        r.console.find("\n samples= 1024 \n dt =      0.001 sec  sr= 1.000000e+003 samples/sec"
                       "\n\n time span=            0 sec to        1.023 sec"),
        std::string::npos);
    EXPECT_NE(r.console.find("\n delta f=         0.9766 "), std::string::npos);
    EXPECT_EQ(occurrences(r.console, "\n\n reading time history "), 19);
    EXPECT_EQ(occurrences(r.console, "\n call function ctfourier "), 18);
    EXPECT_NE(r.console.find("\n   ns=272  nhs=512 "), std::string::npos);
    EXPECT_NE(r.console.find("\n nave = 18 "), std::string::npos);
    EXPECT_TRUE(dir.exists("A_G2Hz.psd"));
    EXPECT_EQ(count_lines(dir.read("A_G2Hz.psd")), 512);
}

// A record the run cannot use: the console must say why, and no result file appears.
// (Records without two pairs are in the bad-input matrix.)
struct unusable_record {
    const char* what;
    std::string record;
    const char* segment_answer;
    const char* message; // a part of the explanation printed
};

TEST(Reader, UnusableRecordsEndWithStatusOneAndNoFiles)
{
    std::string repeated_times; // the first eight samples share one time
    for (int i = 0; i < 16; ++i) repeated_times += std::to_string(i < 8 ? 0 : i) + " 1\n";
    const unusable_record cases[] = {
        {"times decrease", "3 1\n2 1\n1 1\n", "8", "time column must increase"},
        {"infinite time", "0 1\n1 1\n1e999 1\n", "8", "time column must increase"},
        {"shorter than a segment", even_record(100, 3), "128", "holds only 100 pairs"},
        {"first span zero", repeated_times, "8", "time span"},
    };
    for (const unusable_record& c : cases) {
        scratch_dir dir;
        dir.write("A_G2Hz.psd", "kept\n");
        const program_run r =
            run_on_record(dir, c.record, std::string("1\n1\n") + c.segment_answer + "\n1\n2\n");
        SCOPED_TRACE(c.what);
        EXPECT_EQ(r.exit_status, 1);
        EXPECT_NE(r.console.find(c.message), std::string::npos) << r.console;
        EXPECT_EQ(r.console.find("call function ctfourier"), std::string::npos);
        EXPECT_EQ(r.console.find("Output Files"), std::string::npos);
        EXPECT_EQ(r.console.find("Press any key"), std::string::npos);
        EXPECT_EQ(dir.names(), (std::vector<std::string>{"A_G2Hz.psd", "rec.txt"}));
        EXPECT_EQ(dir.read("A_G2Hz.psd"), "kept\n");
    }
}

TEST(Reader, SegmentLongerThanTheRecordIsAskedAgain)
{
    scratch_dir dir;
    const program_run r = run_on_record(dir, even_record(100, 3), "6\n128\n64\n1\n2\n");
    EXPECT_TRUE(holds(r.console, "\n The record holds only 100 pairs; choose a value from the third"
                                 " column. \n Enter samples per segment value from third column."))
        << r.console;
    EXPECT_TRUE(holds(r.console, "\n nave = 2 ")) << r.console;
    EXPECT_EQ(r.exit_status, 1);
}

} // namespace
