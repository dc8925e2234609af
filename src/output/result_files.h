// The result files of a scripted run, of one record or of several channels:
// the PSD and magnitude files, staged until every one of them and the JSON
// summary are written, then put in place together by put_in_place().
#pragma once

#include <string>
#include <vector>

// Where a scripted run's results go.
struct result_request {
    std::string folder;  // real path of the output folder
    std::string summary; // --summary as given, "" for none
    std::string record;  // the record's path as given, for the summary
};

// What one set of result files holds: a record's, or one channel's.
struct channel_outcome {
    int column;                     // the channel's amplitude column, 0 for a one-channel run
    std::string folder;             // the folder its files went into
    std::vector<std::string> files; // full paths of its result files, in slot order
    double overall_rms;             // its overall rms in the quantity's first unit
};

// Everything a scripted run wrote.
struct run_outcome {
    std::vector<channel_outcome> sets; // one per channel, or the record's one
    std::string summary;               // full path of the JSON summary, "" for none
};

// Writes the PSD and magnitude files of st.psd into the request's folder and,
// when asked, the JSON summary, all staged for put_in_place() to put in place
// together. Any failure removes what was written so far and ends the run with
// status 1.
run_outcome write_result_files(const result_request& request);

// Writes each channel's files into a folder of its own under the request's
// folder (named by names, from channel_folders()) and, when asked, one JSON
// summary: a list of the channels' summaries, all staged for put_in_place().
run_outcome write_channel_files(const result_request& request,
                                const std::vector<std::string>& names);
