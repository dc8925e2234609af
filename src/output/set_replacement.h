// Putting a set of staged files in place as one: afterwards every name holds
// its new file, or, when anything failed, every name holds again what it held
// before (nothing where there was nothing).
#pragma once

#include <string>
#include <vector>

// A file written under a temporary name in the folder of the name it is to get.
struct staged_file {
    std::string path; // the name it gets
    std::string temp; // the name it has meanwhile
    int sync_fd;      // an open descriptor of it, to flush it to the disk
};

// Flushes every file to the disk; returns the message of a failure or "".
std::string sync_to_disk(const std::vector<staged_file>& files);

// For each file keeps the file it replaces as a hard-linked backup and renames
// it to its name, then flushes the folders and removes the backups. On a failure it puts the
// backups back, removes the new files that replaced nothing and returns the message; "" when every
// file is in place. Temporaries it did not rename are left to the caller.
std::string replace_as_one_set(const std::vector<staged_file>& files);
