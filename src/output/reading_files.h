// The result files of a set's readings: an octave file beside each PSD file,
// the complete file sets of the quantities derived from the record's (each with
// its own octave files), and the full-precision table; all staged like the
// set's own files, so they are put in place with them or not at all.
#pragma once

#include "output/result_files.h"

// Reads the finished PSD in st.psd as the request asks and writes the files of
// the readings into the set's folder under temporary names; the readings, the
// derived quantities and the files go into the set. A file that cannot be
// written ends the run, as one of the set's own does.
void stage_readings(channel_outcome& set, const result_request& request);
