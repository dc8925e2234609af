// The step after the segment pass of a scripted run: the finished PSD of the
// record, or of each channel, read as the request asks and handed to the
// writers, its files staged until every one of them and the JSON summary are
// written, then put in place together by put_in_place().
#pragma once

#include "output/result_outcome.h"

#include <string>
#include <vector>

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
