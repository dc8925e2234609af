// The transforms on several threads: every file and every byte printed the same
// as on one thread, however the threads' turns fall (many tiny segments, more
// threads than cores, segments of 8 samples and of 4096 on 16 channels).
#include "run_program.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

using args = std::vector<std::string>;

// A record of time and `channels` amplitude columns, whose channels differ in
// tone and in a rounding-sensitive jitter: a CSV export with its header, or
// for one channel plain pairs (read ahead on a thread of their own).
std::string channel_record(int lines, int channels)
{
    const std::string sep = channels > 1 ? "," : " ";
    std::string text = channels > 1 ? "time" : "";
    for (int c = 0; c < channels && channels > 1; ++c) text += ",ch" + std::to_string(c + 1);
    text += channels > 1 ? "\n" : "";
    for (int i = 0; i < lines; ++i) {
        text += std::to_string(i / 1000.);
        for (int c = 0; c < channels; ++c) {
            const double x = std::sin(0.05 * (c + 1) * i) + 0.001 * ((i * (c + 7)) % 97) + 0.1 * c;
            text += sep + std::to_string(x);
        }
        text += "\n";
    }
    return text;
}

// Every file under the folder, by its path in it, with its bytes.
std::map<std::string, std::string> folder_files(const scratch_dir& dir, const std::string& sub)
{
    std::map<std::string, std::string> files;
    const std::filesystem::path root = dir.file(sub);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files[entry.path().lexically_relative(root).string()] =
                dir.read(entry.path().lexically_relative(dir.path()).string());
    return files;
}

// Runs zentri with --threads n and the arguments into folder out (whose name
// the report prints), then renames it out<n>; checks it ended with 0.
program_run threaded_run(const scratch_dir& dir, const args& arguments, const std::string& n)
{
    args full = {"--threads", n, "-o", "out", "--summary", "out/s.json"};
    full.insert(full.end(), arguments.begin(), arguments.end());
    const program_run run = run_zentri_args(dir, full);
    EXPECT_EQ(run.exit_status, 0) << run.errors;
    std::filesystem::rename(dir.file("out"), dir.file("out" + n));
    return run;
}

TEST(TransformWorkers, EveryByteAsOnOneThreadUnderLoad)
{
    const struct {
        const char* what;
        args arguments;
    } cases[] = {
        {"16 channels, a reference, m = 8",
         {"-q", "volts", "-m", "8", "--columns", "all", "--reference", "3", "--table", "--verbose",
          "rec.csv"}},
        {"16 channels, m = 4096, rectangular, mean kept",
         {"-q", "2", "-u", "m/sec", "-m", "4096", "-w", "rectangular", "--no-mean", "--columns",
          "all", "rec.csv"}},
        {"one channel, m = 16", {"-q", "1", "-u", "G", "-m", "16", "one.txt"}},
    };
    scratch_dir dir;
    dir.write("rec.csv", channel_record(20000, 16));
    dir.write("one.txt", channel_record(200000, 1)); // many slots of segments for one channel
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const program_run one = threaded_run(dir, c.arguments, "1");
        const std::map<std::string, std::string> files = folder_files(dir, "out1");
        ASSERT_GT(files.size(), 6u);
        for (const std::string n : {"2", "3", "5", "8"}) {
            const program_run many = threaded_run(dir, c.arguments, n);
            EXPECT_EQ(many.console, one.console);
            EXPECT_EQ(many.errors, one.errors);
            std::map<std::string, std::string> others = folder_files(dir, "out" + n);
            ASSERT_EQ(others.size(), files.size());
            for (const auto& [name, bytes] : files)
                EXPECT_TRUE(others[name] == bytes) << n << " threads: " << name;
            std::filesystem::remove_all(dir.file("out" + n));
        }
        std::filesystem::remove_all(dir.file("out1"));
    }
}

} // namespace
