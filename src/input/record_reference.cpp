// The record read with the C library's formatted input: the reference that
// the fast scanner must match. Each field is read with fscanf; a number stands
// only before white space or the end of the record, and a read that gives no
// pair puts the stream back at the pair's first byte.
#include "input/record_reference.h"
#include "core/analysis_state.h"
#include "input/record_reader.h"

#include <cstdio>

namespace {

// True when the next byte is white space as the C locale has it; false at the end.
bool space_follows(std::FILE* f)
{
    const int c = std::getc(f);
    if (c == EOF) return false;
    std::ungetc(c, f);
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// True when the record has no byte left.
bool at_end(std::FILE* f)
{
    const int c = std::getc(f);
    if (c == EOF) return true;
    std::ungetc(c, f);
    return false;
}

// Reads one field with the conversion; true when it converted and nothing but
// white space or the end of the record follows it.
template <class T> bool number_field(std::FILE* f, const char* conversion, T* out)
{
    return std::fscanf(f, conversion, out) == 1 && (at_end(f) || space_follows(f));
}

// Reads a pair after the white space before it, the amplitude with the
// conversion: 2 with both values; otherwise nothing is taken and the stream
// goes back to the pair's first byte, with 1 for a time and then the end of
// the record, 0 for text that is not two numbers, EOF at the end.
template <class T> int reference_pair(double* time, T* amplitude, const char* conversion)
{
    std::FILE* f = st.fp[1];
    if (std::fscanf(f, " ") == EOF || at_end(f)) return EOF;
    const long long start = ftello(f);
    double t;
    T a;
    int result = 0;
    if (number_field(f, "%lf", &t)) {
        const bool ended = std::fscanf(f, " ") == EOF || at_end(f);
        result = ended ? 1 : number_field(f, conversion, &a) ? 2 : 0;
    }
    if (result == 2) {
        *time = t;
        *amplitude = a;
        return 2;
    }
    fseeko(f, start, SEEK_SET);
    return result;
}

} // namespace

int reference_scan_survey_pair(double* time, double* amplitude)
{
    return reference_pair(time, amplitude, "%lf");
}

int reference_scan_segment_pair(double* time, float* amplitude)
{
    const int result = reference_pair(time, amplitude, "%f");
    if (result == 2) std::fscanf(st.fp[1], " ");
    return result;
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

const record_reader reference_reader{reference_scan_survey_pair,
                                     reference_scan_segment_pair,
                                     reference_scan_segment_pairs,
                                     reference_rewind_record,
                                     reference_record_offset,
                                     no_channel_select,
                                     no_channel_sums,
                                     nothing_to_close};
