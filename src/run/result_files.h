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
