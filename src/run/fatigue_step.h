// The response and fatigue results of a set after the pass: the VRS and ERS,
// the FDS and their profile's (--vrs, --fds, --profile, --duration) from the
// finished PSD, the rainflow count ended and its file (--rainflow), and the
// damage estimates (--sn), staged with the set's files.
#pragma once

#include "output/result_outcome.h"

// Computes the results asked for of the channel (-1 for a one-channel record)
// from st.psd's finished view into set.fatigue and stages their files.
void stage_fatigue_results(channel_outcome& set, const result_request& request, int channel);
