// Carrying a run's ending from a helper thread to the main thread.
#include "core/helper_ending.h"
#include "core/end_run.h"
#include "core/script_messages.h"

namespace {

// What the calling thread is.
struct thread_role {
    bool helper = false; // a helper thread: endings are thrown, not exited
};
thread_local thread_role role;

} // namespace

void mark_helper_thread()
{
    role.helper = true;
}

void hand_over_on_helper(const std::string& text, int status, bool console)
{
    if (role.helper) throw helper_ending{text, status, console};
}

void end_run_with(const helper_ending& ending)
{
    if (ending.console) end_run("%s", ending.text.c_str());
    script_exit(ending.status, "%s", ending.text.c_str());
}
