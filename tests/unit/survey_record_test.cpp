// The survey's table of segment lengths against worked examples.
#include "input/survey_record.h"
#include "record_text.h"
#include "state_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

// One printed row of the segment-length table.
struct table_row {
    long choice;
    double df;
    long samples;
    long segments;
    long dof;
    double duration;
    double std_error;
};

const std::string table_header = "\n\n Choice\t    DF\t      Samples\tSegments  Dof\t Duration\tStd"
                                 "\n       \t    (Hz)      per seg  \t\t\t\t        Error";

// The rows of the table printed after its header.
std::vector<table_row> rows_of(const std::string& console)
{
    std::vector<table_row> rows;
    const auto start = console.find(table_header);
    if (start == std::string::npos) return rows;
    std::istringstream lines(console.substr(start + table_header.size()));
    std::string line;
    while (std::getline(lines, line)) {
        table_row r{};
        if (std::sscanf(line.c_str(), "%ld %lf %ld %ld %ld %lf %lf", &r.choice, &r.df, &r.samples,
                        &r.segments, &r.dof, &r.duration, &r.std_error) == 7)
            rows.push_back(r);
    }
    return rows;
}

// text right-aligned in a field of ten characters.
std::string right10(const std::string& text)
{
    return std::string(text.size() < 10 ? 10 - text.size() : 0, ' ') + text;
}

// One table row as printed, built from the figures of the worked example.
std::string row_text(int choice, const char* df, int samples, int segments, int dof,
                     const char* duration, const char* std_error)
{
    return "\n " + std::to_string(choice) + "\t" + right10(df) + "\t" + std::to_string(samples) +
           "\t   " + std::to_string(segments) + "\t   " + std::to_string(dof) + "\t" +
           right10(duration) + "  " + right10(std_error);
}

TEST(SurveyRecord, WorkedExampleOfTenThousandPairs)
{
    const std::string expected = "\n time 0.000000 to 9.999000 sec"
                                 "\n dur =      9.9990 sec\tns = 10000 samples"
                                 "\n dt =    0.001000 sec\tsr =    1000.000 samples/sec " +
                                 table_header +
                                 row_text(1, "0.122", 8192, 1, 2, "8.1920", "0.9051") +
                                 row_text(2, "0.244", 4096, 2, 4, "8.1920", "0.6400") +
                                 row_text(3, "0.488", 2048, 4, 8, "8.1920", "0.4526") +
                                 row_text(4, "0.977", 1024, 9, 18, "9.2160", "0.3200") +
                                 row_text(5, "1.953", 512, 19, 38, "9.7280", "0.2263") +
                                 row_text(6, "3.906", 256, 39, 78, "9.9840", "0.1600") +
                                 row_text(7, "7.812", 128, 78, 156, "9.9840", "0.1131") +
                                 row_text(8, "15.625", 64, 156, 312, "9.9840", "0.0800") +
                                 row_text(9, "31.250", 32, 312, 624, "9.9840", "0.0566") +
                                 row_text(10, "62.500", 16, 625, 1250, "10.0000", "0.0400") +
                                 row_text(11, "125.000", 8, 1250, 2500, "10.0000", "0.0283") + "\n";
    EXPECT_EQ(survey_of(even_record(10000, 3)), expected);
}

// Samples per segment of each row, from the first down to the last.
std::vector<long> samples_column(const std::vector<table_row>& rows)
{
    std::vector<long> p;
    for (const table_row& r : rows) p.push_back(r.samples);
    return p;
}

TEST(SurveyRecord, RowsRunFromTheLargestPowerOfTwoDownToEight)
{
    const auto rows = rows_of(survey_of(even_record(1024, 3)));
    EXPECT_EQ(samples_column(rows), (std::vector<long>{1024, 512, 256, 128, 64, 32, 16, 8}));
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0].segments, 1);
    EXPECT_EQ(rows[0].dof, 2);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].choice, static_cast<long>(i + 1));
        if (i == 0) continue;
        EXPECT_EQ(rows[i].dof, 2 * rows[i].segments);
        EXPECT_EQ(rows[i].segments, 1024 / rows[i].samples);
    }
}

TEST(SurveyRecord, ShortRecordsPrintOneRow)
{
    // pairs in the record, and the samples per segment of its only row
    const std::pair<long, long> cases[] = {{2, 2}, {3, 2}, {4, 4}, {7, 4}, {8, 8}, {15, 8}};
    for (const auto& c : cases) {
        const auto rows = rows_of(survey_of(even_record(c.first, 3)));
        ASSERT_EQ(rows.size(), 1u) << c.first << " pairs";
        EXPECT_EQ(rows[0].samples, c.second) << c.first << " pairs";
        EXPECT_EQ(rows[0].segments, 1) << c.first << " pairs";
    }
    EXPECT_EQ(rows_of(survey_of(even_record(16, 3))).size(), 2u);
}

TEST(SurveyRecord, LongRecordIsCappedAt65536SamplesPerSegment)
{
    const std::string console = survey_of(even_record(200000, 3));
    const auto rows = rows_of(console);
    ASSERT_EQ(rows.size(), 14u);
    EXPECT_EQ(rows[0].samples, 65536);
    EXPECT_EQ(rows[0].segments, 2);
    EXPECT_EQ(rows[0].dof, 4);
    const double dt = 0.001; // 200000 times span 199999 steps
    EXPECT_NEAR(rows[0].duration, 65536 * dt, 0.00005);
    EXPECT_NEAR(rows[0].df, 1. / (65536 * dt), 0.0005);
    EXPECT_EQ(rows[1].samples, 32768);
    EXPECT_EQ(rows[1].segments, 6); // 200000 / 32768
    EXPECT_EQ(rows.back().samples, 8);
    EXPECT_EQ(rows.back().segments, 25000);
    EXPECT_NE(console.find("ns = 200000 samples"), std::string::npos);
}

TEST(SurveyRecord, FirstRowDofIsTwiceItsSegments)
{
    // (2 DF) Duration comes out just below 2 here; the row still counts 2 degrees
    const auto rows = rows_of(survey_of(even_record(4000, 1)));
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0].samples, 2048);
    EXPECT_EQ(rows[0].dof, 2);
}

TEST(SurveyRecord, FinalTimeWithoutAmplitudeIsNotCounted)
{
    const std::string console = survey_of("0 1\n1 2\n2 3\n3 4\n4 5\n5 6\n6 7\n8.5\n");
    EXPECT_NE(console.find("\n time 0.000000 to 6.000000 sec"), std::string::npos);
    EXPECT_NE(console.find("ns = 7 samples"), std::string::npos);
}

TEST(SurveyRecord, WhiteSpaceSignsAndExponents)
{
    // 8 pairs over CRLF line ends, tabs, blank lines, signs and exponents
    const std::string console = survey_of(
        "\r\n-1.0e0\t+2\r\n\r\n -0.5 -3E-2\n0 4\n  5e-1\t\t6\n1 7\n1.5 8\n2e0 9\n\t+2.5e+0 10\r\n");
    EXPECT_NE(console.find("\n time -1.000000 to 2.500000 sec"), std::string::npos) << console;
    EXPECT_NE(console.find("ns = 8 samples"), std::string::npos);
    EXPECT_EQ(rows_of(console).size(), 1u);
}

TEST(SurveyRecord, CountStopsWhereNoTimeStarts)
{
    const std::string console = survey_of(even_record(5, 0) + "end of data\n5 0\n6 0\n");
    EXPECT_NE(console.find("\n time 0.000000 to 4.000000 sec"), std::string::npos);
    EXPECT_NE(console.find("ns = 5 samples"), std::string::npos);
}

using SurveyRecordDeathTest = testing::Test;

// Records without two pairs, or whose times do not increase, end the run before any table.
TEST(SurveyRecordDeathTest, UnusableRecordsEndTheRun)
{
    const char* records[] = {"",
                             "\n \n",
                             "0 1\n",
                             "time amplitude\n0 1\n1 2\n",
                             "1 2\n1 3\n",
                             "5 1\n4 1\n3 1\n",
                             "0 1\n1 1\n1e999 1\n",
                             "nan 1\n1 1\n2 1\n",
                             "0 1\n1e308 1\n-1e308 1\n",
                             "-1e308 1\n1e308 1\n"};
    for (const char* record : records) {
        SCOPED_TRACE(record);
        EXPECT_EXIT(survey_of(record), testing::ExitedWithCode(1), "");
    }
}

} // namespace
