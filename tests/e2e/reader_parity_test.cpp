// zentri (fast record scanner) and zentri_ref (the C library's formatted input)
// run on the same records with the same answers: the console text, the exit
// status and every file they leave must be byte for byte the same.
#include "console_text.h"
#include "run_program.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/wait.h>

namespace {

// Runs binary in dir with answers on its standard input (bounded in time).
program_run run_binary(const scratch_dir& dir, const std::string& binary, const std::string& answers)
{
    dir.write(".answers", answers);
    const std::string command = "cd '" + dir.path() + "' && timeout 120 '" + binary +
                                "' < .answers > .console 2>&1";
    const int status = std::system(command.c_str());
    program_run run{dir.read(".console"), WIFEXITED(status) ? WEXITSTATUS(status) : -1};
    std::remove(dir.file(".answers").c_str());
    std::remove(dir.file(".console").c_str());
    return run;
}

// Runs both programs on record with answers and compares all they leave;
// returns the console text.
std::string expect_same_runs(const std::string& record, const std::string& answers)
{
    scratch_dir fast, reference;
    fast.write("rec.txt", record);
    reference.write("rec.txt", record);
    const program_run a = run_binary(fast, zentri_binary(), answers);
    const program_run b = run_binary(reference, zentri_ref_binary(), answers);
    EXPECT_EQ(a.exit_status, 1);
    EXPECT_EQ(a.exit_status, b.exit_status);
    EXPECT_TRUE(a.console == b.console) << "zentri:\n" << a.console << "\nzentri_ref:\n" << b.console;
    EXPECT_EQ(fast.names(), reference.names());
    for (const std::string& name : fast.names()) EXPECT_TRUE(fast.read(name) == reference.read(name)) << name;
    return a.console;
}

// Deterministic pseudo-random numbers in [-1, 1).
struct noise {
    std::uint64_t s;
    double next()
    {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return static_cast<double>(s >> 11) * 0x1p-52 - 1.;
    }
};

// n pairs at 20 kHz written with the given formats, each line ended by line_end.
std::string record_of(long n, const char* time_format, const char* amplitude_format,
                      const char* separator, const char* line_end)
{
    noise r{0x243f6a8885a308d3u};
    std::string text;
    char line[160];
    for (long i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / 20000.;
        const double a = 0.7 * std::sin(0.37 * static_cast<double>(i)) + 0.4 * r.next();
        int len = std::snprintf(line, sizeof line, time_format, t);
        len += std::snprintf(line + len, sizeof line - static_cast<unsigned>(len), "%s", separator);
        std::snprintf(line + len, sizeof line - static_cast<unsigned>(len), amplitude_format, a);
        text += line;
        text += line_end;
    }
    return text;
}

TEST(ReaderParity, UsualRecords)
{
    // Acceleration in G, 1024 samples, mean removal and Hanning window.
    EXPECT_TRUE(holds(expect_same_runs(record_of(30000, "%.6f", "%.6e", " ", "\n"),
                                       "rec.txt\n1\n1\n1024\n1\n2\n"),
                      "\n nave = 57 "));
    // Displacement in mils from a record with tabs, CRLF and blank lines.
    EXPECT_TRUE(holds(expect_same_runs(record_of(9000, "%.5f", "%.7g", "\t", "\r\n\r\n"),
                                       "rec.txt\n3\n2\n512\n2\n1\n"),
                      "\n nave = 34 "));
    // Volts in one segment of 65,536 samples.
    EXPECT_TRUE(holds(expect_same_runs(record_of(70000, "%.6f", "%+.4f", "  ", "\n"),
                                       "rec.txt\n6\n65536\n1\n2\n"),
                      "\n nave = 1 "));
}

TEST(ReaderParity, UnusualNumberShapes)
{
    // Hexadecimal floats, exponents without digits, signs and odd spacing.
    const struct {
        const char* time_format;
        const char* amplitude_format;
        const char* separator;
        const char* line_end;
        const char* answers;
        const char* segments;
    } cases[] = {
        {"%a", "%a", "\v", "\n", "rec.txt\n2\n2\n256\n1\n2\n", "\n nave = 38 "},
        {"%.4e", "%.3E", " \f", "\r", "rec.txt\n4\n1\n128\n1\n1\n", "\n nave = 77 "},
        {"+%.6f", "%.2fe+", "\t \t", "\n \n", "rec.txt\n5\n2\n64\n2\n2\n", "\n nave = 155 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.amplitude_format);
        const std::string record = record_of(5000, c.time_format, c.amplitude_format, c.separator, c.line_end);
        EXPECT_TRUE(holds(expect_same_runs(record, c.answers), c.segments));
    }
}

TEST(ReaderParity, RecordsThatStopEarlyOrEndTheRun)
{
    const std::string pairs = record_of(3000, "%.6f", "%.6e", " ", "\n");
    const std::string answers = "rec.txt\n1\n2\n256\n1\n2\n";
    EXPECT_TRUE(holds(expect_same_runs(pairs + "END OF DATA\n1 2\n", answers), "Warning"));
    EXPECT_TRUE(holds(expect_same_runs(pairs + "0,5 1,5\n", answers), "Warning"));
    const std::string lone =
        "\n Warning: line 3001 holds a time and no amplitude; it is not counted. ";
    for (const std::string& tail : {std::string("7"), std::string("7 8 9\n")})
        EXPECT_TRUE(holds(expect_same_runs(pairs + tail, answers), lone));
    // Numbers that run into other text, and words that only start like a number word.
    for (const char* line : {"0.2 1.5.5\n", "0.2 --1\n", "info 3\n", "0.2 NaNo\n"})
        EXPECT_TRUE(holds(expect_same_runs(pairs + line + pairs, answers),
                          "\n Warning: reading stopped at line 3001, at the text \"" +
                              std::string(line, std::strlen(line) - 1) + "\"; 3000 pairs"));
    EXPECT_TRUE(holds(expect_same_runs(pairs + "0.2 nan\n" + pairs, answers), "Error: line 3001"));
    EXPECT_TRUE(holds(expect_same_runs("time amplitude\n" + pairs, answers),
                      "\n Warning: reading stopped at line 1, at the text \"time amplitude\"; 0 "
                      "pairs were counted and the rest of the file is not used. \n"));
}

} // namespace
