// What a scripted run has put on disk that must go again when it fails: its
// temporary files and the folders it made. The list is kept in fixed storage
// so that a signal handler can remove them too.
#pragma once

#include "input/column_reader.h"

#include <climits>
#include <csignal>
#include <string>

// For each channel: at most 33 result files (the 14 of displacement or 6 of
// acceleration with the 6 and 14 of the two quantities derived from it, an
// octave file beside each of their 6 PSD files, the table, the profile check
// and the two H1 files), the time history's 8 (histogram, running figures and
// the two spectrogram, max-hold and min-hold files), the shock spectrum's 5 (two
// SRS, two pseudo-velocity files and its check), the response and fatigue
// results' 3 (VRS, FDS and rainflow files), and the summary.
constexpr int max_temporaries = max_channels * (36 + 8 + 5 + 3) + 1;
// The channel folders and the folders -o made, as far as they go.
constexpr int max_folders = max_channels + 64;

// The noted files and folders; each row is complete before its count covers it.
struct leftovers_state {
    char temporaries[max_temporaries][PATH_MAX]; // paths of this run's temporary files
    volatile std::sig_atomic_t temporary_count;  // rows of temporaries in use
    char folders[max_folders][PATH_MAX];         // paths of the folders this run made
    volatile std::sig_atomic_t folder_count;     // rows of folders in use
};

// The one list of leftovers of the process.
extern leftovers_state leftovers;

// Notes a temporary file of this run (removed when the run fails).
void leave_temporary(const std::string& path);

// Notes a folder this run made (removed, when empty, when the run fails).
void leave_folder(const std::string& path);

// Removes every noted temporary file, then the noted folders, newest first;
// the list is empty afterwards. Safe to call from a signal handler.
void remove_leftovers();

// Forgets the list without removing anything: the run has put its files in place.
void keep_leftovers();

// Forgets and clears the list without removing anything (the tests' reset).
void reset_leftovers();
