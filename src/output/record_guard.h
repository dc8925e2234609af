// The record is never overwritten by its own results: an output of the run
// that is the same file as the record (its name, a hard link or a link to it)
// is refused before the record is surveyed and before anything is written.
#pragma once

#include <string>
#include <vector>

// Ends the run with status 1 when a result file of the run's quantity in folder
// (as given to -o; in each of the channel folders under it when there are
// several channels) or the summary is the same file, device and inode, as the
// record open in stream slot 1; record is its name as given, for the message.
void refuse_record_as_output(const std::string& record, const std::string& folder,
                             const std::vector<std::string>& channels, const std::string& summary);
