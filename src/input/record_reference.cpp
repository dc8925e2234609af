// The record read with the C library's formatted input: the reference that
// the fast scanner must match.
#include "input/record_readers.h"
#include "run/analysis_state.h"

#include <cstdio>

int reference_scan_survey_pair(double* time, double* amplitude)
{
    return std::fscanf(st.fp[1], "%lf %lf", time, amplitude);
}

int reference_scan_segment_pair(double* time, float* amplitude)
{
    return std::fscanf(st.fp[1], " %lf %f ", time, amplitude);
}

std::uint32_t reference_scan_segment_pairs(double* time, float* amplitude, signed char* result,
                                           std::uint32_t n)
{
    return scan_pairs_with(reference_scan_segment_pair, time, amplitude, result, n);
}

void reference_rewind_record()
{
    std::rewind(st.fp[1]);
}

long long reference_record_offset()
{
    return ftello(st.fp[1]);
}
