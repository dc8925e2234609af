// The record read with the C library's formatted input.
#include "input/record_format.h"
#include "run/analysis_state.h"

#include <cstdio>

int scan_survey_pair(double* time, double* amplitude)
{
    return std::fscanf(st.fp[1], "%lf %lf", time, amplitude);
}

int scan_segment_pair(double* time, float* amplitude)
{
    return std::fscanf(st.fp[1], " %lf %f ", time, amplitude);
}

void rewind_record()
{
    std::rewind(st.fp[1]);
}
