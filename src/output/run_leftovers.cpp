// The temporary files and made folders of a scripted run, in fixed storage that
// is complete before the count covers it, so that a signal handler can read it.
#include "output/run_leftovers.h"
#include "core/run_cleanups.h"
#include "input/column_reader.h"
#include "core/analysis_state.h"

#include <climits>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace {

// For each channel: at most 33 result files (the 14 of displacement or 6 of
// acceleration with the 6 and 14 of the two quantities derived from it, an
// octave file beside each of their 6 PSD files, the table, the profile check
// and the two H1 files), and the summary.
constexpr int max_temporaries = max_channels * 36 + 1;
// The channel folders and the folders -o made, as far as they go.
constexpr int max_folders = max_channels + 64;

char temporaries[max_temporaries][PATH_MAX];
volatile std::sig_atomic_t temporary_count = 0;
char folders[max_folders][PATH_MAX];
volatile std::sig_atomic_t folder_count = 0;

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
    note(temporaries, max_temporaries, temporary_count, path);
}

void leave_folder(const std::string& path)
{
    on_end_remove_files(remove_leftovers); // a failed run removes what it left
    note(folders, max_folders, folder_count, path);
}

void remove_leftovers()
{
    while (temporary_count > 0) {
        temporary_count = temporary_count - 1;
        unlink(temporaries[temporary_count]);
    }
    while (folder_count > 0) {
        folder_count = folder_count - 1;
        rmdir(folders[folder_count]);
    }
}

void keep_leftovers()
{
    temporary_count = 0;
    folder_count = 0;
}
