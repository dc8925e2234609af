// The signals that end the process, handled in one place: the ones that would
// end it (interrupt, quit, terminate, hang-up, alarm, user signals, broken
// pipe) run a clean-up first, the file-size signal is ignored so that a write
// past the limit fails instead, and renames can hold them back for a moment.
#pragma once

#include <csignal>

// Work a signal handler may do before the process ends: async-signal-safe calls only.
using signal_cleanup = void (*)();

// What the handler of the ending signals does.
struct signal_handling_state {
    signal_cleanup installed_cleanup; // what the handler runs first, or nothing
};

// The one handling of the process's ending signals.
extern signal_handling_state signal_handling;

// Has the handler run no clean-up: its start-up state (the tests' reset).
void reset_signal_handling();

// Has every ending signal run cleanup and then end the process as it would
// have; a later call replaces the clean-up.
void on_ending_signals(signal_cleanup cleanup);

// Ignores SIGXFSZ: a write past the file-size limit then fails with EFBIG and
// is reported like any failed write.
void ignore_file_size_signal();

// Holds the ending signals back while it lives; those that arrived meanwhile
// are handled when it goes.
class ending_signals_held {
public:
    ending_signals_held();
    ~ending_signals_held();
    ending_signals_held(const ending_signals_held&) = delete;
    ending_signals_held& operator=(const ending_signals_held&) = delete;

private:
    sigset_t before_;
};
