// The set of result files of a scripted run under faults: the earlier set
// stays whole when the new one cannot be put in place or the run is ended by a
// signal, a second run into the folder waits for the first, every file reaches
// the disk before its rename, and links of other users are not followed.
#include "console_text.h"
#include "record_text.h"
#include "run_program.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

using args = std::vector<std::string>;

const args run_into_out = {"-q", "1", "-u", "G", "-m",        "8",         "-o",
                           "out", "--summary", "out/s.json", "rec.txt"};
const args result_names = {"A_G2Hz.psd", "A_Gpk.mag",    "A_Grms.mag", "A_ms22Hz.psd",
                           "A_ms2_pk.mag", "A_ms2rms.mag", "s.json"};

// A folder with rec.txt and out/ holding an earlier run's set, each file saying so.
void lay_out_earlier_set(const scratch_dir& dir)
{
    dir.write("rec.txt", even_record(3000, 3));
    mkdir(dir.file("out").c_str(), 0755);
    for (const std::string& name : result_names) dir.write("out/" + name, "earlier " + name);
}

// out/ holds exactly the earlier set, each file as it was.
void expect_earlier_set(const scratch_dir& dir)
{
    EXPECT_EQ(dir.names("out"), result_names);
    for (const std::string& name : result_names)
        EXPECT_EQ(dir.read("out/" + name), "earlier " + name) << name;
}

// Whether a file system attribute could be set with chattr (root on ext4 and the like).
bool chattr(const std::string& flag, const std::string& path)
{
    return std::system(("chattr " + flag + " '" + path + "' 2>/dev/null").c_str()) == 0;
}

TEST(ResultSet, ASetThatCannotBePutInPlaceLeavesTheEarlierOne)
{
    // The summary, renamed last, cannot be replaced: the six result files renamed
    // before it get their earlier files back.
    {
        scratch_dir dir;
        lay_out_earlier_set(dir);
        if (!chattr("+i", dir.file("out/s.json"))) GTEST_SKIP() << "chattr +i is not allowed";
        const program_run run = run_zentri_args(dir, run_into_out);
        chattr("-i", dir.file("out/s.json"));
        EXPECT_EQ(run.exit_status, 1);
        EXPECT_TRUE(holds(run.errors, "s.json: Operation not permitted")) << run.errors;
        expect_earlier_set(dir);
    }
    // Standard output cannot take the report: the run fails before any file is put in place.
    scratch_dir dir;
    lay_out_earlier_set(dir);
    const int full = open("/dev/full", O_WRONLY);
    const program_run run = wait_for(start_zentri(dir, run_into_out, full));
    close(full);
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_EQ(run.errors, "zentri: standard output: No space left on device; no result file was"
                          " written\n");
    expect_earlier_set(dir);
}

TEST(ResultSet, EveryEndingSignalRemovesTheTemporariesAndTheFoldersMade)
{
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGALRM, SIGUSR1, SIGUSR2, SIGPIPE}) {
        SCOPED_TRACE(sig);
        scratch_dir dir;
        dir.write("rec.txt", even_record(3000, 3));
        // A pipe filled up holds the run in its report, every file staged.
        int pipe_fds[2];
        ASSERT_EQ(pipe2(pipe_fds, O_CLOEXEC), 0);
        fcntl(pipe_fds[1], F_SETFL, O_NONBLOCK);
        while (write(pipe_fds[1], "xxxxxxxxxxxxxxxx", 16) > 0) {
        }
        fcntl(pipe_fds[1], F_SETFL, 0);
        const started_run started = start_zentri(
            dir, {"-q", "1", "-u", "G", "-m", "8", "-o", "new/out", "--summary", "new/out/s.json",
                  "rec.txt"},
            pipe_fds[1]);
        close(pipe_fds[1]);
        for (int i = 0; i < 600 && dir.names("new/out").size() < result_names.size(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(dir.names("new/out").size(), result_names.size()) << "all staged";
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (sig == SIGPIPE)
            close(pipe_fds[0]); // the reader of the report goes away
        else
            kill(started.pid, sig);
        const program_run run = wait_for(started);
        if (sig != SIGPIPE) close(pipe_fds[0]);
        EXPECT_EQ(run.exit_status, 128 + sig);
        EXPECT_EQ(dir.names(), args{"rec.txt"}) << "no temporary and no folder left";
    }
}

TEST(ResultSet, ASecondRunIntoTheFolderWaitsAndRemovesAKilledRunsTemporaries)
{
    scratch_dir dir;
    lay_out_earlier_set(dir);
    // Left by a run killed outright: this run's names are cleared, others are not its own.
    const args stale = {".A_G2Hz.psd.Ab12Z9", ".s.json.000000"};
    const args kept = {".A_G2Hz.psd.long123", ".notes.Ab12Z9"};
    for (const std::string& name : stale) dir.write("out/" + name, "");
    for (const std::string& name : kept) dir.write("out/" + name, "");
    const int lock = open(dir.file("out").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(flock(lock, LOCK_EX), 0);
    std::atomic<bool> done{false};
    program_run run;
    std::thread second([&] {
        run = run_zentri_args(dir, run_into_out);
        done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    EXPECT_FALSE(done) << "the run did not wait for the lock";
    for (const std::string& name : result_names)
        EXPECT_EQ(dir.read("out/" + name), "earlier " + name) << name;
    close(lock);
    second.join();
    EXPECT_EQ(run.exit_status, 0) << run.errors;
    EXPECT_TRUE(holds(run.errors, "zentri: warning: waiting for another run")) << run.errors;
    for (const std::string& name : stale) EXPECT_FALSE(dir.exists("out/" + name)) << name;
    for (const std::string& name : kept) EXPECT_TRUE(dir.exists("out/" + name)) << name;
    EXPECT_EQ(count_lines(dir.read("out/A_G2Hz.psd")), 4);
}

// The lines of a trace that hold text.
std::vector<std::string> lines_with(const std::string& trace, const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream lines(trace);
    for (std::string line; std::getline(lines, line);)
        if (holds(line, text)) out.push_back(line);
    return out;
}

TEST(ResultSet, EachFileReachesTheDiskBeforeItsRenameUnderTheLockWithSignalsHeld)
{
    if (std::system("strace -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace is not installed";
    scratch_dir dir;
    lay_out_earlier_set(dir);
    std::string command = "cd '" + dir.path() + "' && strace -qq -y -o trace.txt -e trace=flock," +
                          "fsync,rename,renameat,renameat2,link,linkat,rt_sigprocmask '" +
                          ZENTRI_BINARY + "'";
    for (const std::string& a : run_into_out) command += " " + a;
    if (std::system((command + " >/dev/null 2>&1").c_str()) != 0)
        GTEST_SKIP() << "the run cannot be traced here";
    // Only the calls from the lock on: the trace of what puts the files in place.
    const std::string all = dir.read("trace.txt");
    const std::size_t lock_at = all.find("flock(");
    ASSERT_NE(lock_at, std::string::npos) << all;
    const std::string trace = all.substr(lock_at);
    EXPECT_TRUE(holds(lines_with(trace, "flock(").front(), "/out>, LOCK_EX"));
    const std::string out = dir.path() + "/out/";
    const std::vector<std::string> renames = lines_with(trace, "rename");
    ASSERT_EQ(renames.size(), result_names.size()) << trace;
    const std::size_t first_rename = trace.find(renames.front());
    const std::size_t last_rename = trace.find(renames.back());
    const std::size_t blocked = trace.find("rt_sigprocmask(SIG_BLOCK, [HUP INT QUIT USR1 USR2 PIPE");
    EXPECT_LT(blocked, first_rename) << trace;
    EXPECT_LT(last_rename, trace.find("rt_sigprocmask(SIG_SETMASK", blocked)) << trace;
    EXPECT_TRUE(holds(trace.substr(last_rename), "fsync(")) << "the folder is synced after";
    EXPECT_TRUE(holds(trace.substr(last_rename), "<" + dir.path() + "/out>)")) << trace;
    for (const std::string& rename : renames) {
        // rename("OUT/.NAME.XXXXXX", "OUT/NAME"): the temporary synced, the old file linked first.
        const std::size_t from = rename.find('"') + 1;
        const std::string temp = rename.substr(from, rename.find('"', from) - from);
        const std::string name = temp.substr(out.size() + 1, temp.size() - out.size() - 8);
        const std::size_t at = trace.find(rename);
        EXPECT_LT(trace.find(temp + ">"), at) << name << " not synced before its rename";
        EXPECT_LT(trace.find("link(\"" + out + name + "\""), at) << name << " has no backup";
    }
}

// Makes a link at path to target that belongs to another user; false when that cannot be done.
bool foreign_link(const std::string& target, const std::string& path)
{
    return symlink(target.c_str(), path.c_str()) == 0 && lchown(path.c_str(), 12345, 12345) == 0;
}

TEST(ResultSet, AFolderLinkOfAnotherUserIsNotFollowed)
{
    scratch_dir dir;
    dir.write("rec.txt", even_record(3000, 3));
    dir.write("log.csv", "t,a,b\n0,1,2\n1,2,3\n2,3,4\n3,4,5\n4,5,6\n5,6,7\n6,7,8\n7,8,9\n");
    mkdir(dir.file("elsewhere").c_str(), 0755);
    mkdir(dir.file("out").c_str(), 0755);
    if (!foreign_link("elsewhere", dir.file("planted")) ||
        !foreign_link("../elsewhere", dir.file("out/b")))
        GTEST_SKIP() << "links of another user can be made only by root";
    const struct {
        args options;
        std::string message;
    } cases[] = {
        {{"-o", "planted/results", "rec.txt"},
         "-o planted/results: planted is a link that belongs to another user (uid 12345)"},
        {{"-o", "out", "--columns", "all", "log.csv"}, "/out/b is a link that belongs to another"},
        {{"--summary", "planted/s.json", "rec.txt"}, "--summary planted/s.json: planted is a link"},
    };
    for (const auto& c : cases) {
        args a = {"-q", "1", "-u", "G", "-m", "8"};
        a.insert(a.end(), c.options.begin(), c.options.end());
        const program_run run = run_zentri_args(dir, a);
        EXPECT_EQ(run.exit_status, 1);
        EXPECT_TRUE(holds(run.errors, c.message)) << run.errors;
        EXPECT_EQ(dir.names("elsewhere"), args{});
        EXPECT_EQ(dir.names("out"), args{"b"}) << "out/a made and removed again";
    }
    // The user's own link is followed.
    ASSERT_EQ(lchown(dir.file("planted").c_str(), geteuid(), getegid()), 0);
    EXPECT_EQ(run_zentri_args(dir, {"-q", "1", "-u", "G", "-m", "8", "-o", "planted", "rec.txt"})
                  .exit_status,
              0);
    EXPECT_EQ(dir.names("elsewhere").size(), 6u);
}

} // namespace
