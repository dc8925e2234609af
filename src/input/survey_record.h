// The survey of the whole record: one counting pass, its checks, figures and table.
#pragma once

#include "input/record_span.h"

// Reads the whole record once and prints its span and the segment-length
// table. A large file of plain pairs is counted in two halves at once, whose
// amplitude sums add in another order; every figure printed is the same.
void survey_record();

// survey_record() with the sums added in record order, for a run that shows
// the record's mean and rms.
void survey_record_in_order();

// The survey's checks, warnings, figures and table from a span already read
// (by the counting pass, or gathered by the single pass).
void settle_survey(const record_span& r);
