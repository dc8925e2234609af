// Runs the built zentri in a scratch folder with answers on its standard input.
#pragma once

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

// True when the program under test is a sanitizer build, which runs many times
// slower and cannot run under valgrind: this suite's own build, or programs
// named by ZENTRI_TEST_BINARY with ZENTRI_TEST_SANITIZED set.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__) // g++'s names
#define ZENTRI_TEST_SANITIZER_BUILD
#elif defined(__has_feature) // clang's
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define ZENTRI_TEST_SANITIZER_BUILD
#endif
#endif
#ifdef ZENTRI_TEST_SANITIZER_BUILD
inline const bool sanitized = true;
#else
inline const bool sanitized = std::getenv("ZENTRI_TEST_SANITIZED") != nullptr;
#endif

// The programs under test: the ones built with this suite, or those named by
// ZENTRI_TEST_BINARY and ZENTRI_TEST_REF_BINARY, so that one build of the
// end-to-end tests runs against the programs of the sanitizer builds.
std::string zentri_binary();
std::string zentri_ref_binary();

// Result of one run of the program.
struct program_run {
    std::string console;  // everything it printed (a run with arguments: its standard output)
    int exit_status;      // exit code, or 128+signal, or -1 when it had to be killed
    std::string errors{}; // a run with arguments: its standard error
};

// A fresh scratch folder, removed with everything in it when the object goes.
class scratch_dir {
public:
    scratch_dir();
    ~scratch_dir();
    scratch_dir(const scratch_dir&) = delete;
    scratch_dir& operator=(const scratch_dir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    void write(const std::string& name, const std::string& text) const;
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;
    std::vector<std::string> names(const std::string& sub = ".") const; // entries, sorted

private:
    std::string path_;
};

// Runs zentri in dir with the given standard input; kills it after timeout_s
// seconds; file_limit > 0 caps the bytes it may write into any one file.
program_run run_zentri(const scratch_dir& dir, const std::string& input, int timeout_s = 60,
                       long file_limit = 0);

// Runs zentri in dir with arguments and no standard input, its standard error
// kept apart; file_limit > 0 caps the bytes it may write into any one file;
// out_fd >= 0 takes its standard output instead; while_running gets its pid.
program_run run_zentri_args(const scratch_dir& dir, const std::vector<std::string>& args,
                            long file_limit = 0, int out_fd = -1,
                            const std::function<void(int)>& while_running = {});

// Writes record as rec.txt in dir, then runs zentri there on answers that start with that name.
program_run run_on_record(const scratch_dir& dir, const std::string& record,
                          const std::string& answers_after_name);

// Runs a shell command in dir, with $ZENTRI for the program, its output into
// console.txt and errors.txt there, and gives its exit status.
int run_shell(const scratch_dir& dir, const std::string& command);

// Counts the lines of a text.
int count_lines(const std::string& text);
