// The scripted run, zentri [OPTIONS] RECORD: the same result files as the
// dialogue, its exit status, its one-line errors, a failed run that leaves no
// result file created or replaced, and the set of result files under faults.
#include "console_text.h"
#include "record_text.h"
#include "run_program.h"
#include "spectrum_run.h"
#include "tmux_pane.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using args = std::vector<std::string>;
using namespace std::chrono_literals;

// A quantity's answers (type, unit, mean, window), its options and its English PSD file's unit.
struct quantity_case {
    int type, unit;
    bool mean, hanning;
    args options;
    std::string psd_unit;
};

const quantity_case quantity_cases[] = {
    {1, 1, true, true, {"-q", "acceleration", "-u", "g", "--verbose"}, "G^2/Hz"},
    {2, 1, false, true, {"-q", "velocity", "-u", "ips", "--no-mean"}, "(in/sec)^2/Hz"},
    {3, 3, true, false, {"-q", "3", "-u", "micro-inch", "-w", "rectangular"}, "inch^2/Hz"},
    {4, 2, false, false, {"-q", "force", "-u", "newton", "--no-mean", "-w", "1"}, "lbf^2/Hz"},
    {5, 1, true, true, {"--quantity=pressure", "--unit=PSI"}, "psi^2/Hz"},
    {6, 0, true, true, {"-q", "volts"}, "V^2/Hz"},
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
            EXPECT_EQ(f["size"], script.read("out/run/" + name).size()) << name;
            names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        EXPECT_EQ(dialogue.names(), names) << "the same files, no more";
        EXPECT_EQ(summary["choices"]["mean_removal"], q.mean);
        EXPECT_EQ(summary["files"][0]["unit"], q.psd_unit);
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
        {{"-m", "8", "--band", "20:20"}, 2, "--band 20:20: LOW:HIGH in Hz is expected"},
        {{"-m", "8", "--band", "20:x"}, 2, "--band 20:x: LOW:HIGH in Hz is expected"},
        {{"-m", "8", "--octave", "2"}, 2, "--octave 2: the bands per octave must be 1, 3, 6"},
        {{"-m", "8", "--tones", "-1"}, 2, "--tones -1: a whole number from 0"},
        {{"-m", "8", "--also", "velocity,acceleration"}, 2, "'acceleration' is not derived"},
        {{"-m", "8", "-q", "force", "-u", "N", "--also", "velocity"}, 2, "a force record gives no"},
        {{"-m", "8", "--reference", "2"}, 2, "--reference 2: needs --columns all"},
        {{"-m", "8", "--columns", "all", "--reference", "1"}, 2, "--reference 1: column 1 is"},
        {{"-m", "8", "--scale", "0"}, 2, "--scale 0: a finite number other than 0"},
        {{"-m", "8", "--threads", "0"}, 2, "--threads 0: the threads must be a whole number"},
        {{"-m", "8", "--q", "0.5"}, 2, "--q 0.5: a quality factor above 0.5"},
        {{"-m", "8", "--fn-step", "5"}, 2, "--fn-step 5: the natural frequencies per octave"},
        {{"-m", "8", "--fn-range", "20:10"}, 2, "--fn-range 20:10: LOW:HIGH in Hz"},
        {{"-m", "8", "-q", "force", "-u", "N", "--vrs"}, 2, "--vrs: the response spectra need an"},
        {{"-m", "8", "-q", "5", "-u", "psi", "--fds", "8"}, 2, "--fds: the response spectra need"},
        {{"-m", "8", "--fds", "0"}, 2, "--fds 0: an S-N exponent above 0"},
        {{"-m", "8", "--sn", "6:-1"}, 2, "--sn 6:-1: B[:C] is expected"},
        {{"-m", "8", "--duration", "-3"}, 2, "--duration -3: a duration above 0"},
        {{"--survey", "--vrs"}, 2, "--vrs: --survey prints the survey only"},
        {{"--survey", "--srs"}, 2, "--srs: --survey prints the survey only"},
        {{"--survey", "--rainflow"}, 2, "--rainflow: --survey prints the survey only"},
        {{"--survey", "--sn", "6"}, 2, "--sn: --survey prints the survey only"},
        {{"--survey", "--hold"}, 2, "--hold: --survey prints the survey only"},
        {{"-m", "8", "--histogram", "4097"}, 2, "--histogram 4097: a whole number of bins"},
        {{"-m", "8", "--running", "0"}, 2, "--running 0: a window of a positive number"},
        {{"-m", "8", "--spectrogram", "0"}, 2, "--spectrogram 0: a whole number of segments"},
        {{"-m", "8", "--running", "0.0012"}, 2, "--running 0.0012: a window of fewer than 2"},
        {{"-m", "8", "--srs", "-q", "force", "-u", "N"}, 2, "--srs: the shock response spectrum"},
        {{"-m", "8", "--srs-tolerance", "3"}, 2, "--srs-tolerance: give the shock profile"},
        {{"-m", "8", "--srs", "--fn-range", "10:600"}, 2, "is at or above half the sample rate"},
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
        // Standard input, read once, holds nothing here.
        {{{"-m", "8", "-"}, 1, "at least two pairs"}, {}, 0},
        {{{"-m", "8", "-o", "rec.txt", "rec.txt"}, 1, "-o rec.txt: not a folder"}, {}, 0},
        {{{"-m", "8", "rec.txt"}, 1, "A_Gpk.mag: exists and is not a regular file"},
         [](const scratch_dir& d) { mkdir(d.file("out/A_Gpk.mag").c_str(), 0755); },
         0},
        // --verbose: the summary's folder is refused before the survey prints anything.
        {{{"-m", "8", "--verbose", "--summary", "none/s.json", "rec.txt"}, 1, "none/s.json: No"},
         {},
         0},
        {{{"-m", "256", "rec.txt"}, 1, "A_G2Hz.psd: could not be written: File too large"},
         {},
         2000},
        {{{"-q", "volts", "-u", "V", "-m", "256", "rec.txt"}, 1, "V2_Hz.psd: could not be written"},
         {},
         2000},
        {{{"-m", "65536", "rec.txt"}, 1, "-m 65536: the record holds only 3000 pairs"}, {}, 0},
        {{{"-m", "8", "--summary", "out/A_Gpk.mag", "rec.txt"}, 1, "names a result file"}, {}, 0},
        // The record is never replaced by its results: by name, in -o or by a hard link.
        {{{"-m", "8", "--summary", "rec.txt", "rec.txt"}, 1, "rec.txt: the same file as"}, {}, 0},
        {{{"-m", "8", "out/A_Gpk.mag"}, 1, "out/A_Gpk.mag: the same file as the record"},
         [](const scratch_dir& d) { d.write("out/A_Gpk.mag", even_record(64, 3)); },
         0},
        {{{"-m", "8", "h"}, 1, "out/A_ms2rms.mag: the same file as the record h"},
         [](const scratch_dir& d) {
             d.write("out/A_ms2rms.mag", even_record(64, 3));
             link(d.file("out/A_ms2rms.mag").c_str(), d.file("h").c_str());
         },
         0},
        // Compared after the folders are made, whatever result or input file it is.
        {{{"-m", "8", "-o", "n", "--summary", "n/../rec.txt", "rec.txt"}, 1, "rec.txt: the same"},
         {},
         0},
        {{{"-m", "8", "--table", "out/spectrum.csv"}, 1, "spectrum.csv: the same file as the"},
         [](const scratch_dir& d) { d.write("out/spectrum.csv", even_record(64, 3)); },
         0},
        {{{"-m", "8", "--profile", "p.txt", "--summary", "p.txt", "rec.txt"}, 1, "as the profile"},
         [](const scratch_dir& d) { d.write("p.txt", "10 1\n400 1\n"); },
         0},
        {{{"-m", "8", "--srs-profile", "out/A_G.srs", "--fn-range", "10:100", "rec.txt"},
          1,
          "out/A_G.srs: the same file as the shock profile"},
         [](const scratch_dir& d) { d.write("out/A_G.srs", "10 1\n400 1\n"); },
         0},
        // The folders -o made as mkdir -p does go again with the failed run.
        {{{"-m", "4096", "-o", "new/deep/out", "rec.txt"}, 1, "the record holds only"}, {}, 0},
        {{{"-m", "8", "no\nsuch\x1b.txt"}, 1, "no\\nsuch\\x1b.txt: No such file"}, {}, 0},
        {{{"-m", "8", "--column", "3", "rec.txt"}, 1, "first data line has only 2 fields"}, {}, 0},
        {{{"-m", "8", "--column", "3", "long.txt"}, 1, "longer than the 1048576 bytes"},
         [](const scratch_dir& d) {
             d.write("long.txt", "# " + std::string(1100000, 'x') + "\n0,1,2\n1,2,3\n2,3,4\n");
         },
         0},
        {{{"-m", "8", "--columns", "all", "--reference", "3", "rec.txt"},
          1,
          "--reference 3: the record's first data line has only 2 fields"},
         {},
         0},
        {{{"-m", "8", "--scale", "1e10", "big.txt"},
          1,
          "--scale 1e+010: amplitude 3 of the record"},
         [](const scratch_dir& d) {
             d.write("big.txt", "0 1\n1 2\n2 1e30\n3 1\n4 2\n5 1\n6 2\n7 1\n8 2\n9 1\n");
         },
         0},
        // 256 samples of 1e37 overflow the transform's single precision.
        {{{"-m", "256", "huge.txt"}, 1, "the spectrum overflows: the PSD line 0 at 0 Hz"},
         [](const scratch_dir& d) {
             std::string text;
             for (int i = 0; i < 512; ++i)
                 text += std::to_string(i) + (i % 2 ? " 1e37\n" : " -1e37\n");
             d.write("huge.txt", text);
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
        const auto top = dir.names();
        failing_case full = row.c;
        full.arguments.insert(full.arguments.begin(), run.begin(), run.end());
        check_failure(dir, full, row.file_limit);
        EXPECT_EQ(dir.names("out"), before);
        EXPECT_EQ(dir.names(), top);
        EXPECT_EQ(dir.read("rec.txt"), rec);
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

// A record read once from a pipe, a FIFO or a decompressor gives the file run's
// result files and report, the response and fatigue files too (the file run's
// rainflow count on one thread, the pipes' on a helper); its warnings name
// pairs, as its lines are gone.
TEST(ScriptedRun, ARecordFromAPipeGivesTheFilesOfTheFileRun)
{
    scratch_dir dir;
    std::string record;
    for (int i = 0; i < 6000; ++i) {
        if (i >= 2048 && i < 2100) continue; // a dropped block
        char line[48];
        std::snprintf(line, sizeof line, "%.6f %.6f\n", i / 1024., std::sin(i * 0.3) + 0.1);
        record += line;
    }
    dir.write("rec.txt", record);
    const std::string plain = "$ZENTRI -q 1 -u G -m 512 --summary s.json -o out ";
    const std::string run = plain + "--histogram 64 --running 0.5 --spectrogram 3 --hold "
                                    "--vrs --fds 8 --rainflow --sn 6 ";
    ASSERT_EQ(run_shell(dir, run + "--threads 1 rec.txt"), 0) << dir.read("errors.txt");
    const std::string console = dir.read("console.txt");
    EXPECT_TRUE(holds(dir.read("errors.txt"), "jumps at line 2049")) << dir.read("errors.txt");
    nlohmann::json summary = nlohmann::json::parse(dir.read("s.json"));
    const std::string files[] = {"A_G2Hz.psd",   "A_ms22Hz.psd",   "A_Grms.mag", "A_ms2rms.mag",
                                 "A_Gpk.mag",    "A_ms2_pk.mag",   "A_G.hist",   "A_G.run",
                                 "A_G2Hz.sgram", "A_ms22Hz.sgram", "A_G2Hz.max", "A_ms22Hz.max",
                                 "A_G2Hz.min",   "A_ms22Hz.min",   "A_G.vrs",    "A_G.fds",
                                 "A_G.rainflow"};
    std::map<std::string, std::string> earlier;
    for (const std::string& f : files) earlier[f] = dir.read("out/" + f);
    const struct {
        const char* what;
        std::string command;
    } cases[] = {
        {"standard input", "cat rec.txt | " + run + "--threads 2 -"},
        {"FIFO", "mkfifo f && { cat rec.txt >f & } && " + run + "--threads 2 f"},
        {"gzip pipe", "gzip -c rec.txt >rec.gz && gzip -dc rec.gz | " + run + "--threads 2 -"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const std::string& f : files) unlink(dir.file("out/" + f).c_str());
        ASSERT_EQ(run_shell(dir, c.command), 0) << dir.read("errors.txt");
        for (const std::string& f : files) EXPECT_EQ(dir.read("out/" + f), earlier[f]) << f;
        const std::string piped = dir.read("console.txt");
        EXPECT_EQ(piped.substr(piped.find('\n')), console.substr(console.find('\n')));
        EXPECT_TRUE(holds(dir.read("errors.txt"), "jumps at pair 2049")) << dir.read("errors.txt");
        nlohmann::json again = nlohmann::json::parse(dir.read("s.json"));
        again["record"]["path"] = summary["record"]["path"];
        EXPECT_EQ(again, summary);
    }
    // A pipe shorter than one segment fails as a short file does, and writes nothing.
    unlink(dir.file("s.json").c_str());
    EXPECT_EQ(run_shell(dir, "head -n 300 rec.txt | " + run + "-"), 1);
    EXPECT_EQ(dir.read("errors.txt"),
              "zentri: -m 512: the record holds only 300 pairs; choose a smaller power of two\n");
    EXPECT_FALSE(dir.exists("s.json"));
    // --verbose prints the survey before the segments, so it reads the record twice.
    EXPECT_EQ(run_shell(dir, "cat rec.txt | " + run + "--verbose -"), 1);
    EXPECT_TRUE(holds(dir.read("errors.txt"), "-: not a regular file; the record is read twice"));
    // An endless pipe is read up to the count's limit, which the warning names
    // (10^8 pairs: minutes under a sanitizer, so the plain build checks it).
    if (sanitized) return;
    EXPECT_EQ(run_shell(dir, "seq 1 300000000 | " + plain + "--quiet -"), 0);
    EXPECT_TRUE(holds(dir.read("errors.txt"), "stopped at the limit of 99999998 pairs"))
        << dir.read("errors.txt");
}

TEST(ScriptedRun, ARecordCutWhileTheSinglePassReadsItFailsTheRun)
{
    scratch_dir dir;
    dir.write("rec.txt", even_record(2000000, 3));
    const std::string record = dir.file("rec.txt");
    bool cut = false;
    const program_run run = run_zentri_args(
        dir, {"-q", "1", "-u", "G", "-m", "1024", "-o", "new", "rec.txt"}, 0, -1, [&](int pid) {
            // Once the pass has begun to read the record, cut it to half of what was read.
            const std::string proc = "/proc/" + std::to_string(pid);
            char target[PATH_MAX];
            for (int i = 0; i < 1000000 && !cut; ++i) {
                const std::string fd = std::to_string(3 + i % 8);
                std::ifstream info(proc + "/fdinfo/" + fd);
                std::string word;
                long long at = 0;
                info >> word >> at;
                const ssize_t n = readlink((proc + "/fd/" + fd).c_str(), target, sizeof target);
                cut = n > 0 && std::string(target, static_cast<std::size_t>(n)) == record &&
                      at > 0 && truncate(record.c_str(), at / 2) == 0;
            }
        });
    ASSERT_TRUE(cut);
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_TRUE(holds(run.errors, "zentri: the record changed while it was read")) << run.errors;
    EXPECT_EQ(dir.names(), args{"rec.txt"});
}

TEST(ScriptedRun, ProgressBarOnATerminalIsClearedAtTheEnd)
{
    if (!tmux_present()) GTEST_SKIP() << "tmux is not installed";
    scratch_dir dir;
    dir.write("rec.txt", even_record(2000, 3));
    dir.write("run.sh", "cd '" + dir.path() + "'\nwhile [ ! -e go ]; do sleep 0.05; done\n'" +
                            zentri_binary() +
                            "' -q 1 -u G -m 8 -o out rec.txt >/dev/null\necho \"[exit $?]\"\n"
                            "cat rec.txt | '" +
                            zentri_binary() +
                            "' -q 1 -u G -m 8 -o piped - >/dev/null\necho \"[piped $?]\"\n"
                            "sleep 120\n");
    tmux_pane pane(dir.file("run.sh"));
    pane.log_to(dir.file("pane.log"));
    dir.write("go", "");
    ASSERT_TRUE(pane.shows("[piped 0]")) << pane.screen();
    EXPECT_TRUE(holds(pane.screen(), "[exit 0]")) << pane.screen();
    const std::string log = dir.read("pane.log");
    // The file's share of bytes read, drawn at once after the first segment; a
    // pipe's pairs, the first segment's 8.
    EXPECT_TRUE(holds(log, "% read")) << log;
    EXPECT_TRUE(holds(log, "zentri: 8 pairs read")) << log;
    EXPECT_FALSE(holds(pane.screen(), "read")) << pane.screen();
    EXPECT_FALSE(holds(pane.screen(), "%")) << "the bar's last character is cleared too";
}

const args into_out = {"-q", "1",   "-u",        "G",          "-m",     "8",
                       "-o", "out", "--summary", "out/s.json", "rec.txt"};
const args set_names = {"A_G2Hz.psd",   "A_Gpk.mag",    "A_Grms.mag", "A_ms22Hz.psd",
                        "A_ms2_pk.mag", "A_ms2rms.mag", "s.json"};

// rec.txt, and out/ holding an earlier run's set, each file saying so.
void lay_out_earlier_set(const scratch_dir& dir)
{
    dir.write("rec.txt", even_record(3000, 3));
    mkdir(dir.file("out").c_str(), 0755);
    for (const std::string& name : set_names) dir.write("out/" + name, "earlier " + name);
}

void expect_earlier_set(const scratch_dir& dir)
{
    EXPECT_EQ(dir.names("out"), set_names);
    for (const std::string& name : set_names) EXPECT_EQ(dir.read("out/" + name), "earlier " + name);
}

TEST(ResultSet, ASetThatCannotBePutInPlaceLeavesTheEarlierOne)
{
    // The summary, renamed last, is immutable: the six files renamed before it are put back.
    scratch_dir dir;
    lay_out_earlier_set(dir);
    const std::string summary = "'" + dir.file("out/s.json") + "' 2>/dev/null";
    if (std::system(("chattr +i " + summary).c_str()) == 0) {
        const program_run run = run_zentri_args(dir, into_out);
        EXPECT_EQ(std::system(("chattr -i " + summary).c_str()), 0);
        EXPECT_TRUE(holds(run.errors, "s.json: Operation not permitted")) << run.errors;
        expect_earlier_set(dir);
    }
    // Standard output cannot take the report: nothing is put in place.
    const int full = open("/dev/full", O_WRONLY | O_CLOEXEC);
    const program_run run = run_zentri_args(dir, into_out, 0, full);
    close(full);
    EXPECT_TRUE(holds(run.errors, "zentri: standard output: No space left on device"))
        << run.errors;
    expect_earlier_set(dir);
}

TEST(ResultSet, EveryEndingSignalRemovesTheTemporariesAndTheFoldersMade)
{
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGALRM, SIGUSR1, SIGUSR2, SIGPIPE}) {
        SCOPED_TRACE(sig);
        scratch_dir dir;
        dir.write("rec.txt", even_record(3000, 3));
        int ends[2]; // a full pipe holds the run in its report, every file staged
        ASSERT_EQ(pipe2(ends, O_CLOEXEC | O_NONBLOCK), 0);
        while (write(ends[1], "xxxxxxxxxxxxxxxx", 16) > 0) {
        }
        fcntl(ends[1], F_SETFL, 0);
        const program_run run = run_zentri_args(
            dir, {"-q", "1", "-u", "G", "-m", "8", "-o", "new/out", "rec.txt"}, 0, ends[1],
            [&](int pid) {
                close(ends[1]);
                for (int i = 0; i < 600 && dir.names("new/out").size() < 6; ++i)
                    std::this_thread::sleep_for(50ms);
                std::this_thread::sleep_for(100ms);
                sig == SIGPIPE ? close(ends[0]) : kill(pid, sig); // SIGPIPE: the reader goes
            });
        if (sig != SIGPIPE) close(ends[0]);
        EXPECT_EQ(run.exit_status, sig == SIGALRM ? -1 : 128 + sig); // -1: ended by SIGALRM
        EXPECT_EQ(dir.names(), args{"rec.txt"}) << "no temporary and no folder left";
    }
}

TEST(ResultSet, ASecondRunIntoTheFolderWaitsAndRemovesAKilledRunsTemporaries)
{
    scratch_dir dir;
    lay_out_earlier_set(dir);
    // Left by runs killed outright: this run's names are cleared, the others are not its own.
    const args stale = {".A_G2Hz.psd.Ab12Z9", ".s.json.000000"};
    const args kept = {".A_G2Hz.psd.long123", ".notes.Ab12Z9"};
    for (const args& names : {stale, kept})
        for (const std::string& name : names) dir.write("out/" + name, "");
    const int lock = open(dir.file("out").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(flock(lock, LOCK_EX), 0);
    program_run run;
    std::thread second([&] { run = run_zentri_args(dir, into_out); });
    std::this_thread::sleep_for(700ms);
    EXPECT_EQ(dir.read("out/s.json"), "earlier s.json") << "the run did not wait for the lock";
    close(lock);
    second.join();
    EXPECT_EQ(run.exit_status, 0) << run.errors;
    EXPECT_TRUE(holds(run.errors, "zentri: warning: waiting for another run")) << run.errors;
    for (const std::string& name : stale) EXPECT_FALSE(dir.exists("out/" + name)) << name;
    for (const std::string& name : kept) EXPECT_TRUE(dir.exists("out/" + name)) << name;
}

TEST(ResultSet, EachFileReachesTheDiskBeforeItsRenameUnderTheLockWithSignalsHeld)
{
    scratch_dir dir;
    lay_out_earlier_set(dir);
    std::string command = "cd '" + dir.path() +
                          "' && strace -qq -y -o trace.txt -e trace=flock,"
                          "fsync,rename,renameat,renameat2,link,linkat,rt_sigprocmask,openat '" +
                          zentri_binary() + "'";
    for (const std::string& a : into_out) command += " " + a;
    if (std::system((command + " >/dev/null 2>&1").c_str()) != 0)
        GTEST_SKIP() << "strace is missing or cannot trace here";
    // From the lock on, one letter a call: f fsync, b signals held, l link, r rename, u released,
    // t a temporary made.
    const std::string all = dir.read("trace.txt");
    std::istringstream trace(all.substr(all.find("flock(")));
    std::string calls;
    for (std::string line; std::getline(trace, line);) {
        const std::string call = line.substr(0, line.find('('));
        calls += call == "fsync" ? "f" : call.rfind("link", 0) == 0 ? "l" : "";
        calls += call.rfind("rename", 0) == 0 ? "r" : holds(line, "SIG_BLOCK, [HUP") ? "b" : "";
        const bool staging = calls.find('f') == std::string::npos;
        calls += holds(line, "SIG_SETMASK") ? "u" : staging && holds(line, "O_EXCL") ? "t" : "";
    }
    // Each of the 7 temporaries made and noted with signals held, synced, signals held, a backup
    // before each rename, the folder synced.
    EXPECT_EQ(calls, "btubtubtubtubtubtubtufffffffblrlrlrlrlrlrlrfu") << all;
}

TEST(ResultSet, AFolderLinkOfAnotherUserIsNotFollowed)
{
    scratch_dir dir;
    dir.write("rec.txt", even_record(3000, 3));
    mkdir(dir.file("elsewhere").c_str(), 0755);
    mkdir(dir.file("out").c_str(), 0755);
    symlink("elsewhere", dir.file("planted").c_str());
    symlink("../elsewhere", dir.file("out/col2").c_str()); // the channel folder of column 2
    if (lchown(dir.file("planted").c_str(), 12345, 1) != 0 ||
        lchown(dir.file("out/col2").c_str(), 12345, 1) != 0)
        GTEST_SKIP() << "links of another user can be made only by root";
    const args cases[][2] = {
        {{"-o", "planted/results"}, {"-o planted/results: planted is a link that belongs to"}},
        {{"-o", "out", "--columns", "all"}, {"/out/col2 is a link that belongs to another user"}},
        {{"--summary", "planted/s.json"}, {"--summary planted/s.json: planted is a link that"}},
    };
    for (const auto& c : cases) {
        args a = {"-q", "1", "-u", "G", "-m", "8", "rec.txt"};
        a.insert(a.end(), c[0].begin(), c[0].end());
        EXPECT_TRUE(holds(run_zentri_args(dir, a).errors, c[1][0])) << c[1][0];
        EXPECT_EQ(dir.names("elsewhere"), args{});
    }
    ASSERT_EQ(lchown(dir.file("planted").c_str(), geteuid(), getegid()), 0); // the user's own
    run_zentri_args(dir, {"-q", "1", "-u", "G", "-m", "8", "-o", "planted", "rec.txt"});
    EXPECT_EQ(dir.names("elsewhere").size(), 6u);
}

} // namespace
