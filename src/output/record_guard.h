// The input files of a run are never overwritten by its results: the record,
// the profile and any other file the run reads are noted by device and inode,
// and every result file is held against them as it is staged, after its folder
// was made, so that any name of the same file (through a folder the run made,
// a hard link, a link) is refused whatever result produced it.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// One input file of the run.
struct guarded_input {
    std::string what; // "record", "profile", ...
    std::string name; // its name as given
    dev_t device;     // the device it is on
    ino_t inode;      // its inode there
};

// The input files of the run, noted as they are opened.
struct guarded_inputs {
    std::vector<guarded_input> files; // every input noted so far
};
extern guarded_inputs guarded;

// For tests: no input noted.
void reset_guarded_inputs();

// Notes an input file of the run: what it is ("record", "profile", ...), its
// name as given, and an open descriptor of it (-1: the name is looked up).
void guard_input(const std::string& what, const std::string& name, int fd = -1);

// Ends the run, removing what it made, when path is the same file, device and
// inode, as one of the noted input files.
void refuse_input_as_output(const std::string& path);
