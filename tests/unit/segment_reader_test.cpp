// The segment reader: segments, overlap, number shapes and the statistics of each segment.
#include "input/segment_reader.h"
#include "record_text.h"
#include "run/run_driver.h"
#include "state_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const std::string reading = "\n\n reading time history ";

class SegmentReader : public testing::Test {
protected:
    // Opens record as the input with m samples per segment.
    void open(const std::string& record, unsigned m)
    {
        reset_state();
        st.m = m;
        st.nhs = m / 2;
        st.status = 1;
        open_counted_record(record);
    }

    // Reads the first segment and keeps its overlap, counting it as the
    // segment loop does; returns what it printed.
    static std::string first()
    {
        return console_of([] {
            read_first_segment();
            save_overlap();
            st.nave = 1;
        });
    }

    // Reads the next segment and keeps its overlap; returns what it printed.
    static std::string next()
    {
        return console_of([] {
            read_next_segment();
            save_overlap();
            if (st.status != 905) ++st.nave;
        });
    }

    // Real parts of seg entries 0..m-1.
    static std::vector<float> samples()
    {
        std::vector<float> x;
        for (unsigned i = 0; i < st.m; ++i) x.push_back(st.seg[i].re);
        return x;
    }

    void TearDown() override { close_record(); }
};

TEST_F(SegmentReader, TenThousandPairsInSegmentsOf1024)
{
    open(even_record(10000, 3), 1024);
    const std::string text = first();
    EXPECT_NE(text.find("\n samples= 1024 "), std::string::npos);
    EXPECT_NE(text.find("\n dt =      0.001 sec  sr= 1.000000e+003 samples/sec"),
              std::string::npos);
    EXPECT_NE(text.find("\n\n time span=            0 sec to        1.023 sec"), std::string::npos);
    const std::string tail = "\n\n delta f=         0.9766 ";
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_EQ(st.t_first, 0.);
    EXPECT_EQ(st.t_last, 1.023);
    EXPECT_EQ(st.dt, 1.023 / 1023);
    EXPECT_EQ(st.sr, 1. / (1.023 / 1023));
    EXPECT_NEAR(st.df, 1000. / 1024, 1e-12) << "1/(m dt), bins at k/(m dt)";

    int segments = 1; // 1 + (10000 - 1024) / 512 complete ones are expected
    std::string last;
    for (;;) {
        last = next();
        if (st.status == 905) break;
        ++segments;
        ASSERT_LT(segments, 100);
    }
    EXPECT_EQ(segments, 18);
    EXPECT_EQ(last, reading + "\n   ns=272  nhs=512 ");
    EXPECT_EQ(st.ns, 272u);
    EXPECT_NEAR(st.df, 1000. / 1024, 1e-12) << "later segments keep the first segment's time base";
}

TEST_F(SegmentReader, RecordOfExactlyOneSegment)
{
    open(even_record(8, 3), 8);
    first();
    EXPECT_EQ(st.status, 1);
    EXPECT_EQ(next(), reading + "\n   ns=0  nhs=4 ");
    EXPECT_EQ(st.status, 905);
}

TEST_F(SegmentReader, RecordShorterThanOneSegmentPrintsNothingMore)
{
    open(even_record(7, 3), 8);
    st.df = 123.;
    EXPECT_EQ(first(), reading);
    EXPECT_EQ(st.status, 905);
    EXPECT_EQ(st.ns, 7u);
    EXPECT_EQ(st.df, 123.);

    open("time amplitude\n0 1\n1 2\n", 2);
    EXPECT_EQ(first(), reading + "\n fscanf error ");
    EXPECT_EQ(st.status, 905);
}

TEST_F(SegmentReader, TwoSampleSegmentsReportNsErrorAndKeepStatistics)
{
    open("0 1\n1 3\n2 10\n3 20\n4 30\n", 2);
    first();
    EXPECT_EQ(st.ave, 2.);
    int segments = 1;
    while (true) {
        const std::string text = next();
        if (st.status == 905) {
            EXPECT_EQ(text, reading + "\n   ns=0  nhs=1 ");
            break;
        }
        EXPECT_EQ(text, reading + "\n  ns error ");
        EXPECT_EQ(st.ave, 2.) << "statistics stay those of the first segment";
        ++segments;
    }
    EXPECT_EQ(segments, 4); // 1 + (5 - 2) / 1
}

TEST_F(SegmentReader, ThirdValueOnALineBecomesTheNextTime)
{
    // tokens 0 1 9 | 1 2 9 | 2 3 9 | 3 4 9 pair up as (0,1) (9,1) (2,9) (2,3) ...
    open("0 1 9\n1 2 9\n2 3 9\n3 4 9\n", 4);
    first();
    EXPECT_EQ(samples(), (std::vector<float>{1.f, 1.f, 9.f, 3.f}));
    EXPECT_EQ(st.t_last, 2.);
}

TEST_F(SegmentReader, AnyWhiteSpaceSignsAndExponents)
{
    open("\r\n0\t+1.5\r\n\r\n 1e-3 -2.25E+1\n\t2E-3\t3e0\r\n  \n0.003 -.5\r\n", 4);
    first();
    EXPECT_EQ(samples(), (std::vector<float>{1.5f, -22.5f, 3.f, -0.5f}));
    EXPECT_EQ(st.t_last, 0.003);
    EXPECT_NEAR(st.df, 250., 1e-9);
}

TEST_F(SegmentReader, FinalTimeWithoutAmplitudeIsNotRead)
{
    open("0 1\n1 2\n2 3\n3\n", 4);
    EXPECT_EQ(first(), reading);
    EXPECT_EQ(st.ns, 3u);
    EXPECT_EQ(st.status, 905);

    open("0 1\n1 2\n2 3\n3 4\n4 5\n5\n", 4);
    first();
    EXPECT_EQ(next(), reading + "\n   ns=1  nhs=2 ");
    EXPECT_EQ(st.status, 905);
}

// Amplitudes are rounded once, from the decimal text straight to float.
TEST_F(SegmentReader, AmplitudesAreCorrectlyRoundedFloats)
{
    const char* texts[] = {"1.0000000596046447753906251",
                           "-3.000000119209289550781251",
                           "1000.0000305175781251",
                           "0.300000026822090148925781251",
                           "0.1000000052154064178466796874999",
                           "7.70000004768371582031251"};
    std::string record;
    for (int i = 0; i < 8; ++i) record += std::to_string(i) + " " + texts[i % 6] + "\n";
    open(record, 8);
    first();
    for (int i = 0; i < 8; ++i) {
        const char* text = texts[i % 6];
        const float correct = std::strtof(text, nullptr);
        ASSERT_NE(correct, static_cast<float>(std::strtod(text, nullptr))) << text;
        EXPECT_EQ(st.seg[i].re, correct) << text;
    }
}

// Amplitudes beyond the float range convert to infinity or underflow, and still count.
TEST_F(SegmentReader, AmplitudesAtTheEndsOfTheFloatRange)
{
    const char* texts[] = {"1e39",          "-1e39",          "1e-50", "1e-40",
                           "-3.4028235e38", "1.17549435e-38", "7e-46", "0e0"};
    std::string record;
    for (int i = 0; i < 8; ++i) record += std::to_string(i) + " " + texts[i] + "\n";
    open(record, 8);
    first();
    EXPECT_EQ(st.ns, 8u);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(st.seg[i].re, std::strtof(texts[i], nullptr)) << texts[i];
    EXPECT_TRUE(std::isinf(st.seg[0].re));
}

TEST_F(SegmentReader, StatisticsOfAKnownSequence)
{
    open("0 1\n1 2\n2 3\n3 4\n4 5\n5 6\n", 4);
    st.input_type = 3; // displacement in mm: the lines carry the record's unit
    st.input_unit = 5;
    const std::string text = first();
    // 1, 2, 3, 4: mean 5/2, mean square 30/4, variance 5/4, sum of d^4 10.25
    EXPECT_EQ(st.ave, 2.5);
    EXPECT_EQ(st.rms, std::sqrt(7.5));
    EXPECT_NEAR(st.stddev, std::sqrt(1.25), 1e-15);
    EXPECT_NEAR(st.kurtosis, 10.25 / (1.25 * 1.25 * 4), 1e-12);
    EXPECT_NE(text.find("\n\n  ave=       2.5 mm    std dev =     1.118 mm   rms=     2.739 mm"
                        "\n kurtosis=      1.64\n"),
              std::string::npos)
        << text;

    // the later segment is 3, 4, 5, 6: all m samples, carried over and new;
    // S2 = 86 about zero, the same deviations about its mean 4.5
    const std::string later = next();
    EXPECT_EQ(st.ave, 4.5);
    EXPECT_EQ(st.rms, std::sqrt(86. / 4));
    EXPECT_NEAR(st.kurtosis, 1.64, 1e-12);
    EXPECT_EQ(later, reading +
                         "\n\n  ave=       4.5 mm    std dev =     1.118 mm   rms=     4.637 mm"
                         "\n kurtosis=      1.64\n");
}

TEST_F(SegmentReader, KurtosisOfAnOffsetSineIsOneAndAHalf)
{
    std::string record;
    for (int i = 0; i < 8; ++i)
        record += std::to_string(i) + " " + std::to_string(5. + std::sin(i * M_PI / 4)) + "\n";
    open(record, 8);
    first();
    EXPECT_NEAR(st.ave, 5., 1e-6);
    EXPECT_NEAR(st.stddev, std::sqrt(0.5), 1e-6);
    EXPECT_NEAR(st.kurtosis, 1.5, 1e-5);
}

TEST_F(SegmentReader, SumsRunInEntryOrder)
{
    // 2^54 + 1 rounds back to 2^54 in double: in entry order S1 = 1, so ave = 1/4
    open("0 18014398509481984\n1 1\n2 -18014398509481984\n3 1\n", 4);
    first();
    EXPECT_EQ(st.ave, 0.25);
    EXPECT_NEAR(st.kurtosis, 2., 1e-12);
}

TEST_F(SegmentReader, ConstantSegmentHasNoSpreadAndNoKurtosis)
{
    open(std::string("0 3\n1 3\n2 3\n3 3\n"), 4);
    const std::string text = first();
    EXPECT_EQ(st.stddev, 0.) << "never the root of a slightly negative difference";
    EXPECT_TRUE(std::isnan(st.kurtosis));
    EXPECT_NE(text.find("std dev =         0    rms=         3 \n kurtosis="), std::string::npos)
        << text;
}

TEST_F(SegmentReader, OverlapHoldsTheSecondHalfAsRead)
{
    open("0 1\n1 2\n2 3\n3 4\n4 5\n5 6\n6 7\n7 8\n", 4);
    first();
    EXPECT_EQ(st.overlap[0], 3.f);
    EXPECT_EQ(st.overlap[1], 4.f);
    st.seg[0].re = st.seg[1].re = -1.f;
    st.seg[0].im = st.seg[3].im = 9.f; // as a transform leaves them
    next();
    EXPECT_EQ(samples(), (std::vector<float>{3.f, 4.f, 5.f, 6.f}));
    EXPECT_EQ(st.seg[0].im, 0.f);
    EXPECT_EQ(st.seg[3].im, 0.f);
    EXPECT_EQ(st.overlap[0], 5.f);
    EXPECT_EQ(st.overlap[1], 6.f);
}

// A run that follows another in the same process starts from cleared buffers.
TEST_F(SegmentReader, ARunAfterAnotherStartsFromClearedBuffers)
{
    open("0 1\n1 2\n2 3\n3 4\n", 4);
    console_of([] { start_run(); });
    first();
    st.psd[1] = 5.;
    console_of([] { start_run(); });
    EXPECT_EQ(st.seg[1].re, 0.f);
    EXPECT_EQ(st.overlap[0], 0.f);
    EXPECT_EQ(st.psd[1], 0.);
}

} // namespace
