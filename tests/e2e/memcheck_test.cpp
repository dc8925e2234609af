// Memcheck over whole runs of the built program: no memory error, no leak, and
// no file left open by the program itself, on a normal run and on an error path.
// Skipped where valgrind is missing and in sanitizer builds (which it cannot run).
#include "console_text.h"
#include "record_text.h"
#include "run_program.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

// Runs zentri under memcheck in dir with the given answers and arguments; returns
// valgrind's log. The exit status is the program's, or 99 when memcheck found an
// error or a leak.
std::string memcheck_run(const scratch_dir& dir, const std::string& answers,
                         const std::string& arguments, int* exit_status)
{
    dir.write("answers", answers);
    const std::string cmd = "cd '" + dir.path() +
                            "' && timeout 300 valgrind -q --error-exitcode=99"
                            " --leak-check=full --errors-for-leak-kinds=definite,indirect"
                            " --track-fds=yes --log-file=memcheck.log " +
                            zentri_binary() + " " + arguments + " <answers >console.txt 2>&1";
    const int status = std::system(cmd.c_str());
    *exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return dir.read("memcheck.log");
}

// Checks one run: the program's own exit status, no memcheck error, and every
// descriptor still open at exit one that the program was given, not one it opened.
void expect_clean(const scratch_dir& dir, const std::string& answers, const std::string& ending,
                  const std::string& arguments = "", int exit_status = 1)
{
    int status = 0;
    const std::string log = memcheck_run(dir, answers, arguments, &status);
    EXPECT_EQ(status, exit_status) << log;
    EXPECT_EQ(occurrences(log, "Open file descriptor"), occurrences(log, "<inherited from parent>"))
        << log;
    EXPECT_TRUE(holds(dir.read("console.txt"), ending));
}

TEST(Memcheck, NormalRunAndErrorPath)
{
    if (sanitized) GTEST_SKIP() << "valgrind cannot run a sanitizer build";
    if (std::system("command -v valgrind >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "valgrind is not installed";
    scratch_dir dir;
    dir.write("rec.txt", even_record(3000, 3));
    {
        SCOPED_TRACE("normal run with mean removal and Hanning window");
        expect_clean(dir, "rec.txt\n3\n5\n1024\n1\n2\n\n", "Press any key to exit.");
        EXPECT_TRUE(dir.exists("D_m2Hz.psd"));
    }
    {
        SCOPED_TRACE("end of input after a segment longer than the record");
        expect_clean(dir, "rec.txt\n1\n1\n4096\n", "\n Input Error");
    }
    {
        SCOPED_TRACE("scripted run, then one that finds a folder of a result file's name");
        const std::string options = "-q 4 -u lbf -m 512 -o out --summary out/s.json rec.txt";
        expect_clean(dir, "", "/out/s.json", options, 0);
        std::remove(dir.file("out/F_N_pk.mag").c_str());
        mkdir(dir.file("out/F_N_pk.mag").c_str(), 0755);
        expect_clean(dir, "", "F_N_pk.mag: exists and is not", "-m 256 " + options);
    }
}

} // namespace
