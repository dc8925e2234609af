// The bad-input matrix: whatever record, answers or folder the program meets,
// it ends with a clear message and exit status 1 within a time bound, never a
// crash or a hang, and leaves exactly the files expected in its folder.
#include "console_text.h"
#include "record_text.h"
#include "run_program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int time_bound_s = 30; // a run of these small records takes well under a second

const std::vector<std::string> accel_files = {"A_G2Hz.psd",   "A_Gpk.mag",    "A_Grms.mag",
                                              "A_ms22Hz.psd", "A_ms2_pk.mag", "A_ms2rms.mag"};
const std::string closing = "\n\n Please call the output files into your own plotting program. \n"
                            "\n Press any key to exit.";
const std::string too_few_pairs = "\n\n Error: the input file must hold at least two pairs of "
                                  "numbers, time(sec) and amplitude, with no header line. \n";
const std::string not_regular = "\n The input must be a regular file that can be read twice, not "
                                "a folder, pipe or device. \n";
// The survey's warning when its count stops at a line before the end of the file.
std::string stopped_at(int line, const std::string& text, int pairs)
{
    return "\n Warning: reading stopped at line " + std::to_string(line) + ", at the text \"" +
           text + "\"; " + std::to_string(pairs) +
           " pairs were counted and the rest of the file is not used. \n";
}
const std::string not_finite = " holds a time or an amplitude that is not a finite number or is "
                               "beyond single precision: \"";

// One row of the matrix.
struct bad_case {
    std::string what;
    std::function<void(const scratch_dir&)> lay_out; // puts the input in the folder
    std::string answers;
    std::string message;            // printed; for an early end, the last thing printed
    bool completes;                 // the run goes through to the output stage
    std::vector<std::string> files; // the folder's entries afterwards
};

// Lays out rec.txt holding text.
std::function<void(const scratch_dir&)> record(const std::string& text)
{
    return [text](const scratch_dir& dir) { dir.write("rec.txt", text); };
}

// The folder after a run that ended before the output stage: the record alone.
std::vector<std::string> record_only()
{
    return {"rec.txt"};
}

// The folder after a complete acceleration run, plus the given entries.
std::vector<std::string> with_results(std::vector<std::string> extra = {"rec.txt"})
{
    extra.insert(extra.end(), accel_files.begin(), accel_files.end());
    std::sort(extra.begin(), extra.end());
    return extra;
}

// Runs one row in a fresh folder and checks status, time bound, message and files.
void check(const bad_case& c)
{
    SCOPED_TRACE(c.what);
    scratch_dir dir;
    c.lay_out(dir);
    const program_run r = run_zentri(dir, c.answers, time_bound_s);
    ASSERT_NE(r.exit_status, -1) << "hung: killed after " << time_bound_s << " s";
    EXPECT_EQ(r.exit_status, 1) << r.console;
    if (c.completes) {
        EXPECT_TRUE(holds(r.console, c.message)) << r.console;
        EXPECT_TRUE(ends_with(r.console, closing)) << r.console;
    } else {
        EXPECT_TRUE(ends_with(r.console, c.message)) << r.console;
    }
    EXPECT_EQ(dir.names(), c.files);
}

// n pairs of a 1 kHz record, amplitude pattern, with the given separator and line end.
std::string record_with(long n, const std::string& separator, const std::string& line_end)
{
    std::string text;
    for (long i = 0; i < n; ++i)
        text += decimal_time(i, 3) + separator + std::to_string(pattern_amplitude(i)) + line_end;
    return text;
}

TEST(BadInput, RecordsTooShortOrWithoutATimeStep)
{
    const bad_case cases[] = {
        {"empty file", record(""), "rec.txt\n1\n1\n8\n", too_few_pairs, false, record_only()},
        {"header line", record("time amplitude\n" + even_record(64, 3)), "rec.txt\n1\n1\n8\n",
         stopped_at(1, "time amplitude", 0) + too_few_pairs, false, record_only()},
        {"one pair", record("0 1\n"), "rec.txt\n1\n1\n8\n", too_few_pairs, false, record_only()},
        {"constant time column", record("5 1\n5 2\n5 3\n5 4\n"), "rec.txt\n1\n1\n8\n",
         "\n\n Error: the time column must increase; the record starts at 5 sec and ends at 5 "
         "sec. \n",
         false, record_only()},
        {"comma decimals", record("0,000 1,5\n0,001 2,5\n0,002 -1,0\n"), "rec.txt\n1\n1\n8\n",
         stopped_at(1, "0,000 1,5", 0) + too_few_pairs, false, record_only()},
    };
    for (const bad_case& c : cases) check(c);
}

TEST(BadInput, InputsThatAreNotAReadableFile)
{
    const std::string long_name(300, 'n');
    const std::string too_long_name =
        "\n Enter input filename\n\n The file name is longer than 259 "
        "characters and cannot be used. \n";
    const bad_case cases[] = {
        {"a folder as the input",
         [](const scratch_dir& d) { mkdir(d.file("sub").c_str(), 0755); },
         "sub\n1\n1\n",
         " Failed to open file: sub \n" + not_regular,
         false,
         {"sub"}},
        {"a FIFO as the input",
         [](const scratch_dir& d) { mkfifo(d.file("pipe").c_str(), 0644); },
         "pipe\n1\n1\n",
         " Failed to open file: pipe \n" + not_regular,
         false,
         {"pipe"}},
        {"a missing file", record(even_record(64, 3)), "nofile.txt\n1\n1\n",
         "\n Enter input filename\n Failed to open file: nofile.txt \n", false, record_only()},
        {"a 300-character name", record(even_record(64, 3)), long_name + "\n1\n1\n", too_long_name,
         false, record_only()},
        {"a 260-character name", record(even_record(64, 3)), long_name.substr(0, 260) + "\n1\n1\n",
         too_long_name, false, record_only()},
    };
    for (const bad_case& c : cases) check(c);
}

TEST(BadInput, ValuesThatAreNotFiniteSinglePrecisionNumbers)
{
    const std::string head = "0.000 1\n0.001 2\n";
    const std::string tail = "0.003 1\n" + std::string("0.004 2\n");
    const struct {
        const char* what;
        std::string line;
    } rows[] = {
        {"NaN amplitude", "0.002 nan"},
        {"infinite amplitude", "0.002 -inf"},
        {"amplitude beyond float range", "0.002 1e39"},
        {"NaN time", "nan 3"},
    };
    for (const auto& row : rows) {
        check({row.what, record(head + row.line + "\n" + tail), "rec.txt\n1\n1\n8\n",
               "\n\n Error: line 3" + not_finite + row.line + "\" \n", false, record_only()});
    }
}

TEST(BadInput, OddLayoutsReadAsTheFormatDefines)
{
    // Three values a line: the third is read as the next time, so 3001 lines give
    // 4501 pairs and a time alone, which is not counted, and m = 1024 yields
    // 1 + (4501 - 1024) / 512 = 7 segments.
    check({"three columns", record(record_with(3001, " ", " 9\n")), "rec.txt\n1\n1\n1024\n2\n1\n",
           "\n nave = 7 ", true, with_results()});
    // A last line cut after its time is no pair; cut in its exponent it still is.
    check({"truncated last line", record(even_record(1024, 3) + "1.024"),
           "rec.txt\n1\n1\n1024\n2\n1\n", "\tns = 1024 samples", true, with_results()});
    check({"last line cut in its exponent", record(even_record(1024, 3) + "1.024 1.5e"),
           "rec.txt\n1\n1\n1024\n2\n1\n", "\tns = 1025 samples", true, with_results()});
}

TEST(BadInput, FooterLineStopsTheCountWithAWarning)
{
    // The pairs before the footer are analysed as usual.
    check({"footer line", record(even_record(64, 3) + "end of data\n"), "rec.txt\n1\n1\n8\n2\n1\n",
           stopped_at(65, "end of data", 64), true, with_results()});
}

TEST(BadInput, CrlfLineEndsGiveTheSameRunAsLineFeeds)
{
    scratch_dir lf, crlf;
    lf.write("rec.txt", record_with(3000, "\t", "\n"));
    crlf.write("rec.txt", record_with(3000, "\t", "\r\n"));
    const std::string answers = "rec.txt\n2\n1\n512\n1\n2\n";
    const program_run a = run_zentri(lf, answers, time_bound_s);
    const program_run b = run_zentri(crlf, answers, time_bound_s);
    EXPECT_EQ(b.exit_status, 1);
    EXPECT_EQ(a.console, b.console);
    EXPECT_TRUE(holds(b.console, "\n nave = 10 "));
    EXPECT_FALSE(holds(b.console, "Warning"));
    EXPECT_EQ(lf.names(), crlf.names());
    for (const std::string& name : crlf.names())
        if (name != "rec.txt") {
            EXPECT_TRUE(lf.read(name) == crlf.read(name)) << name;
        }
}

TEST(BadInput, EndOfInputAtEveryQuestion)
{
    const std::string rec = even_record(64, 3);
    const bad_case cases[] = {
        {"at the file name", record(rec), "", input_error, false, record_only()},
        {"at the quantity", record(rec), "rec.txt\n", input_error, false, record_only()},
        {"at the unit", record(rec), "rec.txt\n1\n", input_error, false, record_only()},
        {"at the segment length", record(rec), "rec.txt\n1\n1\n", input_error, false,
         record_only()},
        {"at mean removal", record(rec), "rec.txt\n1\n1\n8\n", input_error, false, record_only()},
        {"at the window", record(rec), "rec.txt\n1\n1\n8\n1\n", input_error, false, record_only()},
        {"at the key wait", record(rec), "rec.txt\n1\n1\n8\n1\n2\n", "\n nave = 15 ", true,
         with_results()},
    };
    for (const bad_case& c : cases) check(c);
}

TEST(BadInput, NonNumericAndNegativeAnswers)
{
    const std::string rec = even_record(64, 3);
    const std::string illegal = "\n Error: illegal n value.  n must be 2^i, where i is an integer.";
    const std::string maximum = "\n maximum allowed value is 65536 ";
    const bad_case cases[] = {
        {"quantity word", record(rec), "rec.txt\nabc\n1\n", input_error, false, record_only()},
        {"quantity negative", record(rec), "rec.txt\n-1\n1\n", input_error, false, record_only()},
        {"unit word", record(rec), "rec.txt\n1\nG\n", input_error, false, record_only()},
        {"unit negative", record(rec), "rec.txt\n1\n-2\n", input_error, false, record_only()},
        {"segment length word, then the end", record(rec), "rec.txt\n1\n1\nabc\n",
         illegal + "\n Enter samples per segment value from third column. \n " + input_error, false,
         record_only()},
        {"segment length negative, then 8", record(rec), "rec.txt\n1\n1\n-8\n8\n2\n1\n",
         illegal + maximum, true, with_results()},
        {"mean removal as a word", record(rec), "rec.txt\n1\n1\n8\nyes\n2\n", input_error, false,
         record_only()},
        {"window as a word", record(rec), "rec.txt\n1\n1\n8\n1\nhann\n", input_error, false,
         record_only()},
        {"quantity with a fraction", record(rec), "rec.txt\n1.5\n1\n", input_error, false,
         record_only()},
        {"choices negative", record(rec), "rec.txt\n1\n1\n8\n-1\n-2\n", "\n nave = 15 ", true,
         with_results()},
    };
    for (const bad_case& c : cases) check(c);
}

TEST(BadInput, OutputFilesThatCannotBeWritten)
{
    const std::string answers = "rec.txt\n1\n1\n8\n1\n2\n";
    // Every output name taken by a folder: each is reported and the run still ends normally.
    scratch_dir folders;
    folders.write("rec.txt", even_record(64, 3));
    for (const std::string& name : accel_files) mkdir(folders.file(name).c_str(), 0755);
    program_run r = run_zentri(folders, answers, time_bound_s);
    EXPECT_EQ(r.exit_status, 1);
    for (const std::string& name : accel_files) {
        EXPECT_TRUE(holds(r.console, " Failed to open file: " + name + " \n")) << name;
        struct stat info {};
        EXPECT_TRUE(stat(folders.file(name).c_str(), &info) == 0 && S_ISDIR(info.st_mode)) << name;
    }
    EXPECT_TRUE(ends_with(r.console, closing));

    // A link at an output name is removed and a regular file written in its place:
    // what it points to is left as it was.
    scratch_dir linked;
    linked.write("rec.txt", even_record(64, 3));
    linked.write("target.txt", "keep\n");
    ASSERT_EQ(symlink("target.txt", linked.file("A_G2Hz.psd").c_str()), 0);
    r = run_zentri(linked, answers, time_bound_s);
    EXPECT_EQ(r.exit_status, 1);
    EXPECT_FALSE(holds(r.console, "Failed to")) << r.console;
    EXPECT_TRUE(ends_with(r.console, closing));
    EXPECT_EQ(linked.names(), with_results({"rec.txt", "target.txt"}));
    EXPECT_EQ(linked.read("target.txt"), "keep\n");
    EXPECT_EQ(count_lines(linked.read("A_G2Hz.psd")), 4);
}

// Runs answers over record in a folder already holding a result file of every
// output name; a run that ends in an error before the output stage must leave
// each of them as it was: same content, same file.
void check_results_untouched(const std::string& record_text, const std::string& answers)
{
    scratch_dir dir;
    dir.write("rec.txt", record_text);
    std::vector<ino_t> inodes;
    for (const std::string& name : accel_files) {
        dir.write(name, "sentinel " + name + "\n");
        struct stat info {};
        stat(dir.file(name).c_str(), &info);
        inodes.push_back(info.st_ino);
    }
    const program_run r = run_zentri(dir, answers, time_bound_s);
    EXPECT_EQ(r.exit_status, 1);
    EXPECT_FALSE(holds(r.console, "Output Files")) << r.console;
    EXPECT_EQ(dir.names(), with_results());
    for (std::size_t i = 0; i < accel_files.size(); ++i) {
        const std::string& name = accel_files[i];
        EXPECT_EQ(dir.read(name), "sentinel " + name + "\n");
        struct stat info {};
        stat(dir.file(name).c_str(), &info);
        EXPECT_EQ(info.st_ino, inodes[i]) << name << " was replaced";
    }
}

TEST(BadInput, AnErrorBeforeTheOutputStageLeavesExistingResultsUntouched)
{
    const std::string rec = even_record(64, 3);
    {
        SCOPED_TRACE("quantity rejected");
        check_results_untouched(rec, "rec.txt\n9\n");
    }
    {
        SCOPED_TRACE("too few pairs");
        check_results_untouched("0 1\n", "rec.txt\n1\n1\n");
    }
    {
        SCOPED_TRACE("record shorter than a segment");
        check_results_untouched(rec, "rec.txt\n1\n1\n128\n");
    }
    {
        SCOPED_TRACE("end of input at the window");
        check_results_untouched(rec, "rec.txt\n1\n1\n8\n1\n");
    }
    {
        SCOPED_TRACE("end of input at the segment length");
        check_results_untouched(rec, "rec.txt\n1\n1\n");
    }
}

TEST(BadInput, ANotFiniteAmplitudeLeavesExistingResultsUntouched)
{
    check_results_untouched("0 1\n0.001 nan\n0.002 1\n", "rec.txt\n1\n1\n2\n1\n2\n");
}

} // namespace
