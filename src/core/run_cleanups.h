// The clean-ups a run ending early owes to higher floors, which end_run and
// script_exit cannot name: each owner registers its own when it first has
// something to clean up, and the run's end calls whatever is registered.
#pragma once

// A clean-up: safe to call when there is nothing to clean up.
using run_cleanup = void (*)();

// The registered clean-ups, none at start.
struct run_cleanups {
    run_cleanup stop_reading; // stops threads reading the record (the pair feed), or none
    run_cleanup remove_files; // removes the run's temporary files and made folders, or none
};

// The one record of registered clean-ups.
extern run_cleanups cleanups;

// Registers the clean-up that stops the threads reading the record; end_run calls it first.
void on_end_stop_reading(run_cleanup stop);

// Registers the clean-up that removes the run's files; script_exit calls it.
void on_end_remove_files(run_cleanup remove);

// Calls the registered stop of the threads reading the record, if any.
void stop_reading_threads();

// Calls the registered removal of the run's files, if any.
void remove_run_files();

// Forgets every registered clean-up (the tests' reset).
void reset_run_cleanups();
