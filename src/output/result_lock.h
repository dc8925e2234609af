// The advisory lock (flock) on the folders a scripted run puts its files into,
// held from before its first temporary file to the end of the process, so that
// a second run into the same folder waits for the first. Under the lock the
// temporaries of this run's result names that a killed run left are removed.
#pragma once

#include <vector>

// The folders this run has locked.
struct result_locks_state {
    std::vector<int> held; // the locked folders' descriptors, open until the process ends
};

// The one set of locks of the process.
extern result_locks_state result_locks;

#include <string>

// Locks the output folder and the folder of the summary (full paths; "" for
// none), in the order of their paths so that two runs never wait for each
// other; says on standard error when it has to wait. A folder that cannot be
// locked is warned of and used without the lock. The channel folders under
// the output folder are covered by its lock.
void lock_result_folders(const std::string& folder, const std::string& summary);

// Removes the files ".NAME.XXXXXX" (six letters or digits) that a run killed
// before it could clean up left for the name of path in its folder.
void remove_stale_temporaries(const std::string& path);

// The template ".NAME.XXXXXX" for mkstemp of a temporary of path, in path's folder.
std::string temporary_template(const std::string& path);

// Closes the locked folders' descriptors, releasing their locks (the tests' reset).
void reset_result_locks();
