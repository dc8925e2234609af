// The result files of a scripted run, written so that a run that fails leaves
// no result file created or replaced: each file is written under a temporary
// name in its folder and renamed into place only when every one of them was
// written and closed without error.
#pragma once

#include <string>
#include <vector>

// Makes SIGINT, SIGTERM and SIGHUP clear the progress bar and remove the
// temporary files before they end the process.
void catch_ending_signals();

// Full path of a file of the folder: the folder's real path, "/", the name.
std::string path_in(const std::string& folder, const std::string& name);

// Writes the PSD and magnitude files into folder (a real path) and, when
// summary_path is not empty, the JSON summary; lists the full paths written in
// slot order, the summary last. Any failure removes what was written so far and
// ends the process with one line on standard error and status 1.
std::vector<std::string> write_result_files(const std::string& folder,
                                            const std::string& summary_path);

// Writes the PSD and magnitude files into folder as write_result_files() does,
// leaving them under their temporary names until put_in_place(); ends the run
// when the summary (summary_path, "" for none) would be one of them.
std::vector<std::string> stage_result_files(const std::string& folder,
                                            const std::string& summary_path);

// Full path of the summary named on the command line: its folder's real path
// and its name ("" for none).
std::string summary_full_path(const std::string& given);

// Writes the JSON summary text to path, under a temporary name until put_in_place().
void write_summary(const std::string& path, const std::string& text);

// Renames every file written under a temporary name to its own name.
void put_in_place();

// Makes the folder for result files when missing (a failure later removes it
// again); ends the run when it cannot.
void make_result_folder(const std::string& folder);
