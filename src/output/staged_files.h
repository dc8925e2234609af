// Staged result files: each file of a scripted run is written under a temporary
// name in its folder, and all of them are put in place together only when
// every one of them was written, closed and flushed to the disk without
// error, so a run that fails leaves every result file as it was. The list of
// temporaries is this file's own record, kept outside analysis_state because
// only the scripted run has it.
#pragma once

#include "output/set_replacement.h"

#include <cstdio>
#include <string>
#include <vector>

// The result files staged so far.
struct staged_files_state {
    std::vector<staged_file> staged; // every temporary file made so far
};

// The one list of staged files of the process.
extern staged_files_state staged_files;

// Makes the ending signals clear the progress bar and remove the temporary
// files and the folders the run made before they end the process.
void catch_ending_signals();

// Full path of a file of the folder: the folder's real path, "/", the name.
std::string path_in(const std::string& folder, const std::string& name);

// Makes the temporary file for path in its folder, after removing those a
// killed run left for that name, and opens it for writing; a failure removes
// what was staged and ends the run. Call it only under the folder's lock.
std::FILE* stage(const std::string& path);

// Stages a result file as stage() does, unless it is the file the summary
// (--summary as given, "" for none) names: that ends the run.
std::FILE* stage_result(const std::string& path, const std::string& summary_given);

// Removes every temporary file still there and the result folders made for
// them, and ends the run with the message and status 1.
[[noreturn]] void give_up(const std::string& message);

// The message for a path that failed with the C library's error.
std::string failed(const std::string& path, int error);

// The message for a file that could not be written, with the C library's reason.
std::string not_written(const std::string& path, int error);

// The words that end every message of a run that wrote nothing.
extern const std::string nothing_written;

// Full path of the summary named on the command line: its folder's real path
// and its name ("" for none); ends the run when the folder is missing.
std::string summary_full_path(const std::string& given);

// Writes the JSON summary text to path, under a temporary name until put_in_place().
void write_summary(const std::string& path, const std::string& text);

// Puts every staged file in place as one set, the ending signals held back
// meanwhile; when that fails, every name is given back what it held and the
// run ends with status 1.
void put_in_place();

// Size in bytes of the file written for path: its temporary while it is staged,
// the file itself after put_in_place(); -1 when it cannot be read.
long long written_size(const std::string& path);

// Closes the kept descriptors and forgets every staged file (the tests' reset).
void reset_staged_files();
