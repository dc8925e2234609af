// The temporary files and made folders of a scripted run, in fixed storage that
// is complete before the count covers it, so that a signal handler can read it.
#include "output/run_leftovers.h"
#include "core/run_cleanups.h"

#include <climits>
#include <csignal>
#include <cstring>
#include <unistd.h>

leftovers_state leftovers{};

namespace {

// Copies path into the next free row of table and counts it, when it fits.
void note(char (*table)[PATH_MAX], int rows, volatile std::sig_atomic_t& count,
          const std::string& path)
{
    if (count >= rows || path.size() >= PATH_MAX) return;
    std::memcpy(table[count], path.c_str(), path.size() + 1);
    count = count + 1;
}

} // namespace

void leave_temporary(const std::string& path)
{
    on_end_remove_files(remove_leftovers); // a failed run removes what it left
    note(leftovers.temporaries, max_temporaries, leftovers.temporary_count, path);
}

void leave_folder(const std::string& path)
{
    on_end_remove_files(remove_leftovers); // a failed run removes what it left
    note(leftovers.folders, max_folders, leftovers.folder_count, path);
}

void remove_leftovers()
{
    while (leftovers.temporary_count > 0) {
        leftovers.temporary_count = leftovers.temporary_count - 1;
        unlink(leftovers.temporaries[leftovers.temporary_count]);
    }
    while (leftovers.folder_count > 0) {
        leftovers.folder_count = leftovers.folder_count - 1;
        rmdir(leftovers.folders[leftovers.folder_count]);
    }
}

void keep_leftovers()
{
    leftovers.temporary_count = 0;
    leftovers.folder_count = 0;
}

void reset_leftovers()
{
    keep_leftovers();
    std::memset(leftovers.temporaries, 0, sizeof leftovers.temporaries);
    std::memset(leftovers.folders, 0, sizeof leftovers.folders);
}
