// The profile check file of a set of result files: the English PSD file's name
// with ".chk" for ".psd", one row a checked line: frequency, profile, lower and
// upper limit and measured PSD in the output file format ("%10.4e", each
// followed by a blank), then the deviation in dB as "%7.2f".
#pragma once

#include "output/result_outcome.h"

#include <string>

// Stages the set's check file of its check against the profile in its folder,
// then drops the check's lines; a file that cannot be written, or that
// --summary names, ends the run like any result file.
void stage_check_file(channel_outcome& set, const std::string& summary_path);
