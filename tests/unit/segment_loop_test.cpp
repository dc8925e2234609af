// The segment loop: the overlap of later segments and the records of one segment or less.
#include "state_fixture.h"
#include "run/segment_loop.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

// Sets up a run of 8-sample segments in G with mean removal and the Hanning window.
void conditioned_run(const std::string& record)
{
    reset_state();
    st.m = 8;
    st.nhs = 4;
    st.nstages = 3;
    st.status = 1;
    st.input_type = 1;
    st.input_unit = 1;
    st.mean_choice = 1;
    st.window_choice = 2;
    open_counted_record(record);
}

// The second segment is built from the first one's raw samples, not from its
// mean-removed, windowed and converted ones.
TEST(SegmentLoop, LaterSegmentStartsFromTheRawSecondHalf)
{
    std::string record;
    for (int i = 0; i < 12; ++i) record += std::to_string(i) + " " + std::to_string(i + 1) + "\n";
    conditioned_run(record);
    console_of(segment_loop);
    EXPECT_EQ(st.nave, 2u);
    // samples 5..12: mean 8.5, mean square (5^2 + ... + 12^2) / 8 = 620 / 8
    EXPECT_EQ(st.ave, 8.5);
    EXPECT_EQ(st.rms, std::sqrt(620. / 8));
    close_record();
}

TEST(SegmentLoop, RecordOfOneSegmentIsTransformedOnce)
{
    conditioned_run("0 1\n1 2\n2 3\n3 4\n4 5\n5 6\n6 7\n7 8\n");
    const std::string text = console_of(segment_loop);
    EXPECT_EQ(st.nave, 1u);
    EXPECT_EQ(st.status, 905);
    EXPECT_NE(text.find("\n   ns=0  nhs=4 "), std::string::npos);
    close_record();
}

// The dialogue refuses a segment longer than the record; should one reach the
// loop all the same, the run ends there instead of transforming a part-filled segment.
TEST(SegmentLoopDeathTest, RecordShorterThanASegmentEndsTheRun)
{
    conditioned_run("0 1\n1 2\n2 3\n");
    EXPECT_EXIT(segment_loop(), testing::ExitedWithCode(1), "");
    // So does a first segment without a time span, the read-ahead thread reading on.
    std::string stalled;
    for (int i = -8; i < 100000; ++i) stalled += std::to_string(i < 0 ? 0 : i) + " 1\n";
    conditioned_run(stalled);
    EXPECT_EXIT(segment_loop(), testing::ExitedWithCode(1), "");
    close_record();
}

} // namespace
