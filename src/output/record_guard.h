// The input files of a run are never overwritten by its results: the record,
// the profile and any other file the run reads are noted by device and inode,
// and every result file is held against them as it is staged, after its folder
// was made, so that any name of the same file (through a folder the run made,
// a hard link, a link) is refused whatever result produced it.
#pragma once

#include <string>

// Notes an input file of the run: what it is ("record", "profile", ...), its
// name as given, and an open descriptor of it (-1: the name is looked up).
void guard_input(const std::string& what, const std::string& name, int fd = -1);

// Ends the run, removing what it made, when path is the same file, device and
// inode, as one of the noted input files.
void refuse_input_as_output(const std::string& path);
