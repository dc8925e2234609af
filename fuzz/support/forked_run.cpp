// Running a procedure that ends the process in a forked child, and judging how it ended.
#include "forked_run.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sanitizer/common_interface_defs.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

// The inline 8-bit coverage counters of the whole executable, bounded by the
// linker; libFuzzer reads them after each input.
extern "C" {
extern std::uint8_t __start___sancov_cntrs[] __attribute__((weak, visibility("hidden")));
extern std::uint8_t __stop___sancov_cntrs[] __attribute__((weak, visibility("hidden")));
}

namespace {

// How the child ended, in memory shared with it.
struct shared_report {
    volatile int exited;
    volatile int exit_status;
};

shared_report* report = nullptr;        // mapped once, shared with every child
std::uint8_t* child_counters = nullptr; // the child's coverage counters, right after it

// Number of coverage counters in the executable.
std::size_t counter_count()
{
    if (__start___sancov_cntrs == nullptr || __stop___sancov_cntrs == nullptr) return 0;
    return static_cast<std::size_t>(__stop___sancov_cntrs - __start___sancov_cntrs);
}

// Maps the shared report once, before the first child.
shared_report* shared_area()
{
    if (report != nullptr) return report;
    const std::size_t bytes = sizeof(shared_report) + counter_count();
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) {
        std::perror("mmap");
        std::abort();
    }
    report = static_cast<shared_report*>(p);
    child_counters = static_cast<std::uint8_t*>(p) + sizeof(shared_report);
    return report;
}

// Exit handler of the child: hands its status and coverage to the parent and
// leaves at once, so the fuzzer's own exit handler (which treats any exit as a
// fault of the target) does not run in the child.
void child_exit_hook(int status, void*)
{
    std::fflush(nullptr);
    std::memcpy(child_counters, __start___sancov_cntrs, counter_count());
    report->exit_status = status;
    report->exited = 1;
    _exit(status);
}

// A sanitizer report in the child only ends the child; the parent judges it.
void child_death_hook()
{}

// Puts the bytes into an in-memory file positioned at its start.
int memory_file(const std::uint8_t* data, std::size_t size)
{
    const int fd = memfd_create("stdin", 0);
    if (fd < 0) {
        std::perror("memfd_create");
        std::abort();
    }
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = write(fd, data + done, size - done);
        if (n <= 0) std::abort();
        done += static_cast<std::size_t>(n);
    }
    lseek(fd, 0, SEEK_SET);
    return fd;
}

// The child's side: wires its streams and folder, arms the alarm and runs body.
[[noreturn]] void child_side(int stdin_fd, const char* dir, unsigned timeout_s, void (*body)())
{
    std::signal(SIGALRM, SIG_DFL);
    __sanitizer_set_death_callback(child_death_hook);
    const int null_fd = open("/dev/null", O_WRONLY);
    if (chdir(dir) != 0 || null_fd < 0) _exit(120);
    dup2(stdin_fd, STDIN_FILENO);
    dup2(null_fd, STDOUT_FILENO);
    close(stdin_fd);
    close(null_fd);
    on_exit(child_exit_hook, nullptr);
    alarm(timeout_s);
    body();
    _exit(121); // body returned instead of ending the process
}

// Gives the parent's counters the child's coverage (the larger count of each).
void merge_coverage()
{
    const std::size_t n = counter_count();
    for (std::size_t i = 0; i < n; ++i)
        __start___sancov_cntrs[i] = std::max(__start___sancov_cntrs[i], child_counters[i]);
}

} // namespace

child_outcome run_in_child(const std::uint8_t* input, std::size_t size, const char* dir,
                           unsigned timeout_s, void (*body)())
{
    shared_report* r = shared_area();
    r->exited = 0;
    r->exit_status = -1;
    const int stdin_fd = memory_file(input, size);
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("fork");
        std::abort();
    }
    if (pid == 0) child_side(stdin_fd, dir, timeout_s, body);
    close(stdin_fd);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    child_outcome out{r->exited != 0, r->exit_status, 0, false};
    if (WIFSIGNALED(status)) {
        out.signal = WTERMSIG(status);
        out.hung = out.signal == SIGALRM;
    }
    if (out.exited) merge_coverage();
    return out;
}

void require_clean_exit(const child_outcome& outcome, int expected_status)
{
    require_exit_in(outcome, expected_status, expected_status);
}

void require_exit_in(const child_outcome& outcome, int lowest, int highest)
{
    if (outcome.hung)
        std::fprintf(stderr, "\n*** the run hung: killed by the alarm\n");
    else if (outcome.signal != 0)
        std::fprintf(stderr, "\n*** the run died of signal %d (%s)\n", outcome.signal,
                     strsignal(outcome.signal));
    else if (!outcome.exited)
        std::fprintf(stderr, "\n*** the run ended without exit() (a sanitizer report above?)\n");
    else if (outcome.exit_status < lowest || outcome.exit_status > highest)
        std::fprintf(stderr, "\n*** the run exited with status %d, expected %d to %d\n",
                     outcome.exit_status, lowest, highest);
    else
        return;
    std::abort();
}
