// A run that ends on a helper thread (the read-ahead reader): the ending is
// carried to the main thread, which ends the run, since only it may stop the
// helper and exit.
#pragma once

#include <string>

// An ending met on a helper thread, thrown to the helper's own loop.
struct helper_ending {
    std::string text; // the message as given
    int status;       // the exit status asked for
    bool console;     // from end_run(): the dialogue prints text on the console
};

// What the calling thread is: one record for each thread.
struct thread_role {
    bool helper = false;                 // a helper thread: endings are thrown, not exited
    static thread_local thread_role own; // the calling thread's role
};

// For tests: the calling thread is the main thread again.
void reset_thread_role();

// Marks the calling thread as a helper: end_run() and script_exit() throw a
// helper_ending there instead of ending the process.
void mark_helper_thread();

// Throws the ending when called on a helper thread; returns otherwise.
void hand_over_on_helper(const std::string& text, int status, bool console);

// Ends the run on the main thread with an ending a helper met.
[[noreturn]] void end_run_with(const helper_ending& ending);
