// The input record format: a text stream of decimal numbers separated by white
// space, taken in pairs of time (seconds) and amplitude. Reading ends at end of
// file or where a time is expected and no number starts. Both the survey and
// the segment readers read the record only through these calls, on stream slot 1.
#pragma once

// Reads one pair as fscanf("%lf %lf") does; returns the fields converted, or EOF.
int scan_survey_pair(double* time, double* amplitude);

// Reads one pair as fscanf(" %lf %f ") does, the amplitude straight into a float.
int scan_segment_pair(double* time, float* amplitude);

// Returns the record to its first byte.
void rewind_record();
