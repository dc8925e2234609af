// The clean-ups registered for a run that ends early, kept by function pointer
// so that core/ calls them without including the floors that own them.
#include "core/run_cleanups.h"

run_cleanups cleanups{};

void on_end_stop_reading(run_cleanup stop)
{
    cleanups.stop_reading = stop;
}

void on_end_remove_files(run_cleanup remove)
{
    cleanups.remove_files = remove;
}

void stop_reading_threads()
{
    if (cleanups.stop_reading != nullptr) cleanups.stop_reading();
}

void remove_run_files()
{
    if (cleanups.remove_files != nullptr) cleanups.remove_files();
}

void reset_run_cleanups()
{
    cleanups = run_cleanups{};
}
