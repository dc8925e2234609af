// The result files of a set's readings: an octave file beside each PSD file,
// the complete file sets of the quantities derived from the record's, and the
// full-precision table; all staged like the set's own files, so they are put
// in place with them or not at all. A file that cannot be written ends the run,
// as one of the set's own does; each file is listed in the set.
#pragma once

#include "output/result_outcome.h"
#include "readings/octave_bands.h"
#include "readings/psd_view.h"

#include <cstdio>
#include <string>
#include <vector>

// Stages a file of the readings, listed in the set with what it holds.
std::FILE* stage_listed(channel_outcome& set, const result_request& request,
                        const listed_file& file);

// Closes a file of the readings; a failed write or close ends the run.
void close_listed(std::FILE* f, bool written, const std::string& path);

// Writes the octave file of the bands beside each PSD file of the view's
// quantity, per_octave bands to the octave; returns their paths.
std::vector<std::string> stage_octave_files(channel_outcome& set, const result_request& request,
                                            const psd_view& view, int per_octave,
                                            const std::vector<octave_band>& bands);

// Writes the complete file set of a derived quantity's view; returns their paths.
std::vector<std::string> stage_derived_set(channel_outcome& set, const result_request& request,
                                           const psd_view& view);

// Writes the table of every file's values of the views.
void stage_table(channel_outcome& set, const result_request& request,
                 const std::vector<psd_view>& views);
