// Carrying a run's ending from a helper thread to the main thread.
#include "core/helper_ending.h"
#include "core/end_run.h"
#include "core/script_messages.h"

thread_local thread_role thread_role::own{};

void mark_helper_thread()
{
    thread_role::own.helper = true;
}

void hand_over_on_helper(const std::string& text, int status, bool console)
{
    if (thread_role::own.helper) throw helper_ending{text, status, console};
}

void end_run_with(const helper_ending& ending)
{
    if (ending.console) end_run("%s", ending.text.c_str());
    script_exit(ending.status, "%s", ending.text.c_str());
}

void reset_thread_role()
{
    thread_role::own = thread_role{};
}
