// The readings of a set: computed from the finished PSD's view as the request
// asks, with the quantities derived from it, and handed to the writers of
// their files.
#pragma once

#include "output/result_outcome.h"
#include "readings/psd_view.h"

// Reads the view as the request asks (tones, bands, confidence, octave bands,
// derived quantities) into the set and has the files of the readings staged
// in the set's folder.
void stage_readings(channel_outcome& set, const result_request& request, const psd_view& view);
