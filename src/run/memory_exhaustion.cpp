// The handler of a failed allocation: nothing in it allocates.
#include "run/memory_exhaustion.h"
#include "core/analysis_state.h"
#include "output/run_leftovers.h"
#include "platform/progress_bar.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <unistd.h>

namespace {

// Ends the process after a failed allocation, with the message of the run's kind.
[[noreturn]] void out_of_memory()
{
    progress_end();
    remove_leftovers();
    std::fflush(stdout);
    const char* message = st.scripted ? "zentri: out of memory; no result file was written\n"
                                      : "\n\n Error: out of memory. \n";
    const int fd = st.scripted ? STDERR_FILENO : STDOUT_FILENO;
    if (write(fd, message, std::strlen(message)) < 0) _exit(1); // nothing more can be told
    _exit(1);
}

} // namespace

void end_run_when_memory_runs_out()
{
    std::set_new_handler(out_of_memory);
}
