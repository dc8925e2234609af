// The result files of a scripted run over several channels.
#pragma once

#include <string>
#include <vector>

// Writes each channel's PSD and magnitude files into a folder of its own under
// folder (named by names, from channel_folders()), and, when summary_path is not empty, one JSON
// summary: a list of the channels' summaries. As for one channel, the files
// are renamed into place only when all of them were written. Returns the paths.
std::vector<std::string> write_channel_files(const std::string& folder,
                                             const std::vector<std::string>& names,
                                             const std::string& summary_path);

// Prints each channel's overall rms and files on standard output.
void report_channel_results(const std::vector<std::string>& files);
