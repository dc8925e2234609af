// The scripted run, zentri [OPTIONS] RECORD: the same result files as the
// dialogue, its exit status, its one-line errors, and a failed run that leaves
// no result file created or replaced.
#include "console_text.h"
#include "record_text.h"
#include "run_program.h"
#include "spectrum_run.h"
#include "tmux_pane.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <functional>
#include <sstream>
#include <sys/stat.h>
#include <thread>

namespace {

using args = std::vector<std::string>;

// A quantity's dialogue answers (type, unit, mean, window) and the options that say the same.
struct quantity_case {
    int type, unit;
    bool mean, hanning;
    args options;
};

const quantity_case quantity_cases[] = {
    {1, 1, true, true, {"-q", "acceleration", "-u", "g", "--verbose"}},
    {2, 1, false, true, {"-q", "velocity", "-u", "ips", "--no-mean"}},
    {3, 3, true, false, {"-q", "3", "-u", "micro-inch", "-w", "rectangular"}},
    {4, 2, false, false, {"-q", "force", "-u", "newton", "--no-mean", "-w", "1"}},
    {5, 1, true, true, {"--quantity=pressure", "--unit=PSI"}},
    {6, 0, true, true, {"-q", "volts"}},
};

// The dialogue's text from the first segment's reading to the overall rms line.
std::string segment_text(const std::string& console)
{
    const auto from = console.find("\n\n reading time history");
    const auto to = console.find('\n', console.find("\n overall rms = ") + 1);
    return console.substr(from, to - from);
}

TEST(ScriptedRun, EveryQuantityWritesTheDialoguesFilesByteForByte)
{
    const std::string record = even_record(3000, 3);
    for (const quantity_case& q : quantity_cases) {
        SCOPED_TRACE("quantity " + std::to_string(q.type));
        scratch_dir dialogue, script;
        const std::string console =
            run_on_record(dialogue, record, run_answers(q.type, q.unit, 256, q.mean, q.hanning))
                .console;
        script.write("rec.txt", record);
        args a = q.options;
        a.insert(a.end(), {"-m", "256", "-o", "out/run", "--summary", "out/run/s.json", "rec.txt"});
        const program_run run = run_zentri_args(script, a);
        EXPECT_EQ(run.exit_status, 0) << run.errors;
        EXPECT_EQ(run.errors, "") << "nothing on standard error when it is not a terminal";
        const bool verbose = a[4] == "--verbose";
        EXPECT_EQ(holds(run.console, segment_text(console)), verbose) << run.console;
        EXPECT_EQ(holds(run.console, "reading time history"), verbose);

        const nlohmann::json summary = nlohmann::json::parse(script.read("out/run/s.json"));
        std::vector<std::string> names = {"rec.txt"};
        for (const auto& f : summary["files"]) {
            const std::string path = f["path"], name = path.substr(path.rfind('/') + 1);
            EXPECT_EQ(path, script.path() + "/out/run/" + name);
            EXPECT_TRUE(holds(run.console, "\n  " + path + "\n")) << run.console;
            EXPECT_TRUE(dialogue.read(name) == script.read("out/run/" + name)) << name;
            names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        EXPECT_EQ(dialogue.names(), names) << "the same files, no more";
        EXPECT_EQ(summary["record"]["pairs"], 3000);
        double sum = 0.;
        for (long i = 0; i < 3000; ++i) sum += pattern_amplitude(i);
        EXPECT_NEAR(summary["record"]["mean"].get<double>(), sum / 3000, 1e-12);
        EXPECT_EQ(summary["results"]["nave"], console_number(console, "\n nave = "));
        const double rms = summary["results"]["overall_rms"];
        EXPECT_NEAR(rms, console_number(console, "\n overall rms = "), 1e-3 * rms);
    }
}

// A run that fails: its arguments, exit status and what its one line of standard error says.
struct failing_case {
    args arguments;
    int status;
    std::string message;
};

// Runs c in dir and checks the status, the one line "zentri: ..." and an empty standard output.
void check_failure(const scratch_dir& dir, const failing_case& c, long file_limit = 0)
{
    const program_run run = run_zentri_args(dir, c.arguments, file_limit);
    EXPECT_EQ(run.exit_status, c.status) << run.errors;
    EXPECT_EQ(run.console, "");
    EXPECT_EQ(run.errors.rfind("zentri: ", 0), 0u) << run.errors;
    EXPECT_EQ(count_lines(run.errors), 1) << run.errors;
    EXPECT_TRUE(holds(run.errors, c.message)) << run.errors;
}

TEST(ScriptedRun, UsageErrorsExitWithStatusTwo)
{
    const args run = {"-q", "1", "-u", "G", "rec.txt"};
    // Each case adds its arguments to those of a valid run without -m.
    const failing_case cases[] = {
        {{"-x", "-m", "8"}, 2, "-x: unknown option"},
        {{"--frobnicate", "-m", "8"}, 2, "--frobnicate: unknown or ambiguous option"},
        {{"-m"}, 2, "a value is required"},
        {{"-m", "1000"},
         2,
         "-m 1000: the samples per segment must be a power of two from 2 to 65536"},
        {{"-m", "131072"}, 2, "power of two from 2 to 65536"},
        {{"-m", "8", "-q", "speed"}, 2, "-q speed: not a quantity"},
        {{"-m", "8", "-u", "mm"}, 2, "-u mm: not a unit of acceleration; use G or m/sec^2"},
        {{"-m", "8", "-q", "volts"}, 2, "-u G: volts takes no unit"},
        {{"-m", "8", "-w", "hamming"}, 2, "-w hamming: the window must be hanning or rectangular"},
        {{}, 2, "-m is required"},
        {{"-m", "8", "other.txt"}, 2, "other.txt: one record per run"},
        {{"-m", "8", "--column", "1"}, 2, "--column 1: column 1 is the time"},
        {{"-m", "8", "--columns", "2"}, 2, "--columns 2: only 'all' is known"},
        {{"-m", "8", "--rate", "-5"}, 2, "--rate -5: a positive number"},
        {{"-m", "8", "--column", "3", "--columns", "all"}, 2, "--column and --columns all"},
        {{"-m", "8", "--scale", "0"}, 2, "--scale 0: a finite number other than 0"},
    };
    for (const failing_case& c : cases) {
        SCOPED_TRACE(c.message);
        scratch_dir dir;
        dir.write("rec.txt", even_record(64, 3));
        failing_case full = c;
        full.arguments.insert(full.arguments.begin(), run.begin(), run.end());
        check_failure(dir, full);
        EXPECT_EQ(dir.names(), args{"rec.txt"});
    }
    scratch_dir dir;
    check_failure(dir, {{"-q", "1", "-u", "G", "-m", "8"}, 2, "no record given"});
    const program_run help = run_zentri_args(dir, {"--help"});
    EXPECT_EQ(help.exit_status, 0);
    std::istringstream lines(help.console);
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 80u) << line;
}

// Puts what a run error needs into the folder.
using layout = std::function<void(const scratch_dir&)>;

TEST(ScriptedRun, RunErrorsExitWithStatusOneAndWriteNothing)
{
    const args run = {"-q", "1", "-u", "G", "-o", "out", "--summary", "out/s.json"};
    const std::string rec = even_record(3000, 3);
    const struct {
        failing_case c;
        layout lay_out;
        long file_limit;
    } cases[] = {
        {{{"-m", "8", "missing.txt"}, 1, "missing.txt: No such file or directory"}, {}, 0},
        {{{"-m", "8", "out"}, 1, "out: not a regular file"}, {}, 0},
        {{{"-m", "8", "short.txt"}, 1, "at least two pairs"},
         [](const scratch_dir& d) { d.write("short.txt", "0 1\n"); },
         0},
        {{{"-m", "4096", "rec.txt"}, 1, "-m 4096: the record holds only 3000 pairs"}, {}, 0},
        {{{"-m", "8", "-o", "rec.txt", "rec.txt"}, 1, "-o rec.txt: not a folder"}, {}, 0},
        {{{"-m", "8", "rec.txt"}, 1, "A_Gpk.mag: exists and is not a regular file"},
         [](const scratch_dir& d) { mkdir(d.file("out/A_Gpk.mag").c_str(), 0755); },
         0},
        {{{"-m", "8", "--summary", "none/s.json", "rec.txt"}, 1, "none/s.json: No such file"},
         {},
         0},
        {{{"-m", "256", "rec.txt"}, 1, "A_G2Hz.psd: could not be written"}, {}, 2000},
        {{{"-m", "8", "--column", "3", "rec.txt"}, 1, "first data line has only 2 fields"}, {}, 0},
        {{{"-m", "8", "--scale", "1e10", "big.txt"}, 1, "--scale 1e+010: amplitude 3 of the record"},
         [](const scratch_dir& d) {
             d.write("big.txt", "0 1\n1 2\n2 1e30\n3 1\n4 2\n5 1\n6 2\n7 1\n8 2\n9 1\n");
         },
         0},
        // The second channel's folder is taken by a file: the first one's is not kept.
        {{{"-m", "8", "--columns", "all", "three.txt"}, 1, "out/col3/A_G2Hz.psd: Not a directory"},
         [](const scratch_dir& d) {
             d.write("three.txt", "0 1 2\n1 2 3\n2 3 4\n3 4 5\n4 5 6\n5 6 7\n6 7 8\n7 8 9\n");
             d.write("out/col3", "");
         },
         0},
    };
    // out/ holds results of an earlier run, which the failed run must leave as they are.
    for (const auto& row : cases) {
        SCOPED_TRACE(row.c.message);
        scratch_dir dir;
        dir.write("rec.txt", rec);
        mkdir(dir.file("out").c_str(), 0755);
        for (const char* name : {"A_G2Hz.psd", "A_ms22Hz.psd", "s.json"})
            dir.write(std::string("out/") + name, "earlier result\n");
        if (row.lay_out) row.lay_out(dir);
        const auto before = dir.names("out");
        failing_case full = row.c;
        full.arguments.insert(full.arguments.begin(), run.begin(), run.end());
        check_failure(dir, full, row.file_limit);
        EXPECT_EQ(dir.names("out"), before);
        for (const char* name : {"A_G2Hz.psd", "A_ms22Hz.psd", "s.json"})
            EXPECT_EQ(dir.read(std::string("out/") + name), "earlier result\n") << name;
    }
}

TEST(ScriptedRun, TwoRunsInParallelKeepToTheirOwnFolders)
{
    // The record's name is not UTF-8 (Latin-1), which the JSON summary must survive.
    const std::string rec = "r\xe9"
                            "c.txt";
    scratch_dir dir;
    dir.write(rec, even_record(200000, 3));
    const args first = {"-q", "1", "-u", "G", "-m", "64", "--summary", "s.json", rec};
    const args second = {"-q", "3", "-u", "mm", "-m", "128", "--summary", "s.json", rec};
    auto with_output = [](args a, const std::string& out) {
        a.insert(a.end(), {"-o", out});
        a[7] = out + "/s.json";
        return a;
    };
    run_zentri_args(dir, with_output(first, "alone1"));
    run_zentri_args(dir, with_output(second, "alone2"));
    program_run a, b;
    std::thread one([&] { a = run_zentri_args(dir, with_output(first, "together1")); });
    std::thread two([&] { b = run_zentri_args(dir, with_output(second, "together2")); });
    one.join();
    two.join();
    EXPECT_EQ(a.exit_status + b.exit_status, 0) << a.errors << b.errors;
    for (const char* n : {"1", "2"}) {
        const std::string alone = std::string("alone") + n, together = std::string("together") + n;
        EXPECT_EQ(dir.names(alone), dir.names(together));
        for (const std::string& name : dir.names(alone)) {
            if (name == "s.json") continue;
            EXPECT_TRUE(dir.read(alone + "/" + name) == dir.read(together + "/" + name)) << name;
        }
    }
}

TEST(ScriptedRun, ProgressBarOnATerminalIsClearedAtTheEnd)
{
    if (!tmux_present()) GTEST_SKIP() << "tmux is not installed";
    scratch_dir dir;
    dir.write("rec.txt", even_record(2000, 3));
    dir.write("run.sh", "cd '" + dir.path() + "'\nwhile [ ! -e go ]; do sleep 0.05; done\n'" +
                            ZENTRI_BINARY +
                            "' -q 1 -u G -m 8 -o out rec.txt >/dev/null\necho \"[exit $?]\"\n"
                            "sleep 120\n");
    tmux_pane pane(dir.file("run.sh"));
    pane.log_to(dir.file("pane.log"));
    dir.write("go", "");
    ASSERT_TRUE(pane.shows("[exit 0]")) << pane.screen();
    const std::string log = dir.read("pane.log");
    // 1 + (2000 - 8) / 4 segments, the first drawn at once.
    EXPECT_TRUE(holds(log, "] segment 1 of 499   0%")) << log;
    EXPECT_FALSE(holds(pane.screen(), "segment")) << pane.screen();
}

} // namespace
