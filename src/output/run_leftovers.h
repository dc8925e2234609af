// What a scripted run has put on disk that must go again when it fails: its
// temporary files and the folders it made. The list is kept in fixed storage
// so that a signal handler can remove them too.
#pragma once

#include <string>

// Notes a temporary file of this run (removed when the run fails).
void leave_temporary(const std::string& path);

// Notes a folder this run made (removed, when empty, when the run fails).
void leave_folder(const std::string& path);

// Removes every noted temporary file, then the noted folders, newest first;
// the list is empty afterwards. Safe to call from a signal handler.
void remove_leftovers();

// Forgets the list without removing anything: the run has put its files in place.
void keep_leftovers();
