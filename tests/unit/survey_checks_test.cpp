// The survey's checks of the record: a warning when the count stops before the
// end of the file, naming the line and the text found there, and the end of
// the run when a counted pair holds a value that is not a finite number or an
// amplitude beyond single precision.
#include "input/record_place.h"
#include "input/survey_halves.h"
#include "input/survey_record.h"
#include "input/time_gaps.h"
#include "record_text.h"
#include "state_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The warning for a count that stopped at line at text after pairs pairs.
std::string warning(long line, const std::string& text, long pairs)
{
    return "\n Warning: reading stopped at line " + std::to_string(line) + ", at the text \"" +
           text + "\"; " + std::to_string(pairs) +
           " pairs were counted and the rest of the file is not used. \n";
}

TEST(SurveyChecks, ReadingThatStopsEarlyIsReportedBeforeTheTable)
{
    const struct {
        const char* what;
        std::string record;
        std::string expected;
    } cases[] = {
        {"footer", even_record(64, 3) + "end of data\n", warning(65, "end of data", 64)},
        {"comma decimal: the pair is left whole", "0 1\n1 2\n2,5 3\n3 4\n", warning(3, "2,5 3", 2)},
        {"stray line, CRLF", "0 1\r\n1 2\r\nERROR\r\n3 4\r\n", warning(3, "ERROR", 2)},
        {"lone CR line ends", "0 1\r1 2\r2 3\rxx\r", warning(4, "xx", 3)},
        {"blank lines and indents", "\n\n0 1\n\n1 2\n   \n  tail text  \n",
         warning(7, "tail text  ", 2)},
        {"text cut at 40 bytes, control bytes escaped",
         "0 1\n1 2\n#\tnote\x01" + std::string(50, 'z') + "\n",
         warning(3, "#\\tnote\\x01" + std::string(33, 'z'), 2)},
        // A word that only starts like a number word, or a number that runs into
        // other text, is no number; nothing of its line is used.
        {"a word like nan", "0 1\n1 2\nnominal end\n", warning(3, "nominal end", 2)},
        {"two points", "0 1\n1 2\n0.008 1.5.5\n3 4\n", warning(3, "0.008 1.5.5", 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = survey_of(c.record);
        EXPECT_EQ(text.substr(0, c.expected.size()), c.expected) << text;
        EXPECT_NE(text.find("\n time "), std::string::npos); // the run goes on
    }
}

TEST(SurveyChecks, ColumnRecordsStopAtALineTheyCannotRead)
{
    const auto stem = [](const std::string& w) { return w.substr(0, w.size() - 2); }; // no " \n"
    const std::string commas = " The line looks written with decimal commas, which are not "
                               "supported: write 0.5, not 0,5.";
    const struct {
        const char* what;
        std::string record;
        int column;
        std::string expected; // the warning, without its closing " \n"
    } cases[] = {
        {"too few fields", "t,x,y\n0,1,2\n1,2,3\n2,3\n3,4,5\n", 3, stem(warning(4, "2,3", 2))},
        {"decimal commas", "0;1\n1;2\n2,5;3\n", 2, stem(warning(3, "2,5;3", 2)) + commas},
        {"decimal commas between blanks", "0.0 1.0\n0.5 1.5\n1,0 2,5\n", 2,
         stem(warning(3, "1,0 2,5", 2)) + commas},
        {"a line longer than the reader's block",
         "0,1\n1,2\n2," + std::string(1 << 20, '5') + "\n3,4\n", 2,
         stem(warning(3, "2," + std::string(38, '5'), 2)) +
             " The line is longer than the 1048576 bytes the reader holds at once."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        reset_state();
        st.column = c.column;
        open_record_text(c.record);
        const std::string text = console_of(survey_record);
        EXPECT_EQ(text.substr(0, c.expected.size() + 2), c.expected + " \n") << text;
    }
}

// Times of a record: pair i at times[i], written with the given printf format.
std::string timed_record(const std::vector<double>& times, const char* format)
{
    std::string text;
    char t[40];
    for (std::size_t i = 0; i < times.size(); ++i) {
        std::snprintf(t, sizeof t, format, times[i]);
        text += t + std::string(" ") + std::to_string(pattern_amplitude(i)) + "\n";
    }
    return text;
}

// The times i/rate for i in [0, n), without those in [drop_from, drop_to).
std::vector<double> sampled(long n, double rate, long drop_from = 0, long drop_to = 0)
{
    std::vector<double> t;
    for (long i = 0; i < n; ++i)
        if (i < drop_from || i >= drop_to) t.push_back(i / rate);
    return t;
}

TEST(SurveyChecks, GapsInTheTimeColumnAreWarnedOnceAfterTheTable)
{
    std::vector<double> back = sampled(3000, 1024);
    back[2000] = 1997 / 1024.;
    std::vector<double> reset = sampled(16384, 1024); // the clock restarts at 0 at line 8193
    for (std::size_t i = 8192; i < reset.size(); ++i) reset[i] -= 8.;
    std::vector<double> every_eighth; // every eighth step three long: more gaps than are kept
    for (long i = 0; i <= 8000; ++i) every_eighth.push_back(static_cast<double>(i + 2 * (i / 8)));
    const std::string head = "\n Warning: the time column jumps at line ";
    const std::string tail = " The spectrum assumes a constant time step. ";
    // With anomalies the survey's dt is the typical step, and dur (ns - 1) dt.
    const struct {
        const char* what;
        std::vector<double> times;
        const char* format;
        std::string expected; // the warning's text after "jumps at line ", or none
        std::string step;     // the survey's dur and dt lines
    } cases[] = {
        {"dropped block", sampled(10240, 1024, 4096, 4608), "%.6f",
         "4097, from 3.999023 to 4.500000 sec (513 steps of 0.000977 sec); 1 such gap, the "
         "largest 513 dt.",
         "\n dur =      9.4990 sec\tns = 9728 samples"
         "\n dt =    0.000977 sec\tsr =    1024.000 samples/sec "},
        {"clock reset", reset, "%.6f",
         "8193, from 7.999023 to 0.000000 sec (-8191 steps of 0.000977 sec); 1 such gap, the "
         "largest -8191 dt.",
         "\n dur =     15.9990 sec\tns = 16384 samples"
         "\n dt =    0.000977 sec\tsr =    1024.000 samples/sec "},
        {"backward step", back, "%.6f",
         "2001, from 1.952148 to 1.950195 sec (-2 steps of 0.000977 sec); 2 such gaps, the largest "
         "4 dt.",
         ""},
        {"many gaps", every_eighth, "%.0f",
         "9, from 7.000000 to 10.000000 sec (3 steps of 1.000000 sec); 1000 such gaps, the "
         "largest 3 dt.",
         "\n dur =   8000.0000 sec\tns = 8001 samples"
         "\n dt =    1.000000 sec\tsr =       1.000 samples/sec "},
        {"coarse clean record", sampled(10240, 1024), "%.3f", "", ""},
        {"stamps of 1 ms at 10240/s", sampled(20480, 10240), "%.3f", "",
         "\n dt =    0.000098 sec\tsr =   10239.500 samples/sec "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = survey_of(timed_record(c.times, c.format));
        EXPECT_NE(text.find(c.step), std::string::npos) << text; // "" for none
        const auto at = text.find(head);
        if (c.expected.empty()) {
            EXPECT_EQ(at, std::string::npos) << text;
            continue;
        }
        ASSERT_NE(at, std::string::npos) << text;
        EXPECT_EQ(text.substr(at + head.size()), c.expected + tail); // last, after the table
    }
}

TEST(SurveyChecks, LineNumbersFarIntoALargeRecord)
{
    // 30,000 lines ended in turn by "\n", "\r\n" and a lone "\r" (or all by
    // "\n"), blocks of the file ending anywhere among them, then a footer.
    const char* ends[] = {"\n", "\r\n", "\r"};
    std::string mixed, plain;
    for (int i = 0; i < 30000; ++i) mixed += std::to_string(i) + " 0.5" + ends[i % 3];
    for (int i = 0; i < 30000; ++i) plain += std::to_string(i) + " 0.5\n";
    const std::string expected = warning(30001, "# end #", 30000);
    // Also counted in two halves, the half way byte anywhere among the line
    // ends; and by the plain loop where the vector loop runs.
    for (int shift = 0; shift < 36; ++shift) {
        for (const long long split : {4LL << 20, 1LL}) {
            set_line_count_split(split);
            for (const std::string& record : {mixed, plain}) {
                for (const bool vector : {true, false}) {
                    line_count.vector_allowed = vector;
                    const std::string text =
                        survey_of(std::string(shift, ' ') + record + "# end #\r\n");
                    EXPECT_EQ(text.substr(0, expected.size()), expected)
                        << shift << " " << split << (vector ? " vector" : " plain");
                }
            }
        }
    }
    line_count.vector_allowed = true;
    set_line_count_split(4LL << 20);
}

TEST(SurveyChecks, CleanRecordsHaveNoWarning)
{
    const std::string pairs = even_record(40, 3);
    for (const std::string& record : {pairs, pairs + "\n\n \t\r\n\v\f", pairs + "0.040 1.5e",
                                      std::string("0\t1\r\n1\t2\r\n")}) {
        const std::string text = survey_of(record);
        EXPECT_EQ(text.find("Warning"), std::string::npos) << text;
        EXPECT_EQ(text.rfind("\n time ", 0), 0u) << text;
    }
}

// The count in two halves (every record split at its middle here) prints what
// the count in one prints and keeps the same figures, wherever the middle falls.
TEST(SurveyChecks, TheCountInHalvesGivesTheCountInOne)
{
    const std::string even = timed_record(sampled(3000, 1024), "%.6f");
    std::string across; // each pair's amplitude on the line after its time
    for (int i = 0; i < 3000; ++i)
        across += std::to_string(i / 1024.) + "\n" + std::to_string(i % 7) + "\n";
    std::vector<double> back = sampled(3000, 1024);
    back[1600] = back[1598];
    const struct {
        const char* what;
        std::string record;
    } cases[] = {
        {"clean", even},
        {"dropped block after the middle", timed_record(sampled(3000, 1024, 2000, 2100), "%.6f")},
        {"step back near the middle", timed_record(back, "%.6f")},
        {"pairs across lines", across},
        {"text after the middle", even.substr(0, even.size() * 3 / 4) + "\nend of run\n" + even},
        {"text before the middle", even.substr(0, even.size() / 4) + "\nmarker\n" + even},
        {"a time alone at the end", even + "5.0\n"},
        {"coarse stamps", timed_record(sampled(3000, 10240), "%.3f")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        set_survey_split(0);
        const std::string one = survey_of(c.record);
        const std::uint32_t pairs = st.record_pairs;
        const double end = st.rec_end;
        const long gaps = st.gaps;
        set_survey_split(1);
        EXPECT_EQ(survey_of(c.record), one);
        EXPECT_EQ(st.record_pairs, pairs);
        EXPECT_EQ(st.rec_end, end);
        EXPECT_EQ(st.gaps, gaps);
    }
    set_survey_split(0);
}

TEST(SurveyChecks, ALastTimeWithoutAmplitudeIsWarnedOfAfterTheTable)
{
    const std::string text = survey_of(even_record(40, 3) + "0.040\n\n");
    const std::string warning =
        "\n Warning: line 41 holds a time and no amplitude; it is not counted. ";
    EXPECT_EQ(text.substr(text.size() - warning.size()), warning) << text;
}

TEST(SurveyChecks, AmplitudesJustBelowTheFloatEdgeAreKept)
{
    // Read as a double this rounds to the midpoint between the largest float
    // and 2^128, but as a float it is the largest float: not an error.
    const std::string text =
        survey_of("0 1\n1 340282356779733661637539395458142568447.9\n2 -3.4028235e38\n");
    EXPECT_EQ(text.find("Error:"), std::string::npos) << text;
    EXPECT_NE(text.find("\tns = 3 samples"), std::string::npos) << text;
}

using SurveyChecksDeathTest = testing::Test;

// text as a regular expression that matches just it.
std::string literally(const std::string& text)
{
    std::string re;
    for (const char c : text) {
        if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos) re += '\\';
        re += c;
    }
    return re;
}

// Surveys the record with the console sent to the error stream, where the death test reads it.
void survey_to_stderr(const std::string& record)
{
    reset_state();
    open_record_text(record);
    dup2(STDERR_FILENO, STDOUT_FILENO);
    survey_record();
}

TEST(SurveyChecksDeathTest, UnusableValuesEndTheRunNamingTheirLine)
{
    const std::string head = "0.000 1\n0.001 2\n";
    const std::string tail = "0.003 1\n0.004 2\n";
    for (const char* line :
         {"0.002 nan", "0.002 -inf", "0.002 1e39", "0.002 -NaN", "nan 3", "infinity 3",
          "0.002 340282356779733661637539395458142568448", "0.002 0x1p128"}) {
        SCOPED_TRACE(line);
        const std::string message =
            "Error: line 3 holds a time or an amplitude that is not a finite "
            "number or is beyond single precision: \"" +
            std::string(line).substr(0, 40) + "\" \n"; // 40 bytes at most
        EXPECT_EXIT(survey_to_stderr(head + line + "\n" + tail), testing::ExitedWithCode(1),
                    literally(message));
    }
}

} // namespace
