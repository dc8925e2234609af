// The column reader: the lines and fields of a record of one sample per line,
// its header, separator and channels (see column_reader.h).
#include "input/column_reader.h"
#include "core/analysis_state.h"
#include "core/end_run.h"
#include "input/block_source.h"
#include "input/float_field.h"
#include "input/long_number.h"
#include "input/open_record.h"
#include "input/record_place.h"
#include "input/record_reader.h"
#include "platform/console_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>

column_state column_read;
column_kept_lines column_kept;

namespace {

constexpr int shown_chars = 80; // header text shown at most

// Starts reading the stream of slot 1 afresh, its header not yet skipped.
void adopt_record()
{
    adopt_stream(column_read);
    column_read.started = false;
    column_read.samples = 0;
    column_read.note = "";
}

// Adopts the stream of slot 1 when it is not the one being read.
void follow_stream()
{
    if (!follows_slot_stream(column_read)) {
        column_read.reported = false;
        column_read.first_pass = true;
        for (int c = 0; c < max_channels; ++c) column_read.sum[c] = column_read.sum_sq[c] = 0.;
        adopt_record();
    }
}

// Finds the next line, [begin, end) without its line end, and moves past it;
// false at the end of the record. A line that does not fit the block is given
// as far as it goes, marked overlong.
bool next_line(const char*& begin, const char*& end)
{
    for (;;) {
        const char* start = column_read.text + column_read.pos;
        const std::size_t left = column_read.end - column_read.pos;
        const char* p = static_cast<const char*>(std::memchr(start, column_read.line_end, left));
        if (p != nullptr || (column_read.at_eof && left > 0) || left == block_bytes) {
            const bool ended = p != nullptr;
            if (!ended) p = column_read.text + column_read.end;
            begin = start;
            end = p;
            if (column_read.line_end == '\n' && end != begin && end[-1] == '\r') --end;
            column_read.overlong = !ended && !column_read.at_eof;
            column_read.line_start = column_read.base + static_cast<long long>(column_read.pos);
            column_read.pos = static_cast<std::size_t>(p - column_read.text) + ended;
            return true;
        }
        if (column_read.at_eof) return false;
        refill(column_read, column_read.pos);
    }
}

// Chooses the line end of the record from its first one: "\n" (after which a
// "\r" before it is dropped), or a lone "\r".
void choose_line_end()
{
    column_read.line_end = '\n';
    for (;;) {
        const char* p = column_read.text + column_read.pos;
        while (p != column_read.text + column_read.end && *p != '\n' && *p != '\r') ++p;
        if (p + 1 < column_read.text + column_read.end || column_read.at_eof ||
            column_read.end - column_read.pos == block_bytes) {
            if (p + 1 < column_read.text + column_read.end && p[0] == '\r' && p[1] != '\n')
                column_read.line_end = '\r';
            return;
        }
        refill(column_read, column_read.pos);
    }
}

// True for a blank or a tab.
bool is_blank(char c)
{
    return c == ' ' || c == '\t';
}

// Skips blanks and tabs from p up to end.
const char* skip_blanks(const char* p, const char* end)
{
    while (p != end && is_blank(*p)) ++p;
    return p;
}

// True when the line holds only blanks and tabs.
bool is_empty(const char* begin, const char* end)
{
    return skip_blanks(begin, end) == end;
}

// True when the line starts with a number: a digit, or a sign or point before one.
bool starts_with_number(const char* begin, const char* end)
{
    const char* p = skip_blanks(begin, end);
    if (p != end && (*p == '+' || *p == '-')) ++p;
    if (p != end && *p == '.') ++p;
    return p != end && *p >= '0' && *p <= '9';
}

// Chooses the separator from the first data line: a semicolon, else a comma, else blanks.
char separator_of(const char* begin, const char* end)
{
    if (std::memchr(begin, ';', static_cast<std::size_t>(end - begin)) != nullptr) return ';';
    if (std::memchr(begin, ',', static_cast<std::size_t>(end - begin)) != nullptr) return ',';
    return ' ';
}

// Finds the field at p: [begin, end) without the blanks around it; moves p
// past its separator, or to nullptr after the last field of a line split at
// commas or semicolons. False when the line has no more fields.
bool next_field(const char*& p, const char* line_end, const char*& begin, const char*& end)
{
    if (p == nullptr) return false;
    p = skip_blanks(p, line_end);
    if (column_read.separator == ' ') {
        if (p == line_end) return false;
        begin = p;
        while (p != line_end && !is_blank(*p)) ++p;
        end = p;
        return true;
    }
    begin = p;
    while (p != line_end && *p != column_read.separator) ++p;
    end = p;
    while (end != begin && is_blank(end[-1])) --end;
    p = p != line_end ? p + 1 : nullptr;
    return true;
}

// Counts the fields of a line.
int fields_of(const char* begin, const char* end)
{
    int n = 0;
    const char* b;
    const char* e;
    for (const char* p = begin; next_field(p, end, b, e);) ++n;
    return n;
}

// The value of a whole field, correctly rounded to T straight from its text;
// false when the field is not a number.
template <class T> bool field_value(const char* begin, const char* end, T& value)
{
    const bool negative = begin != end && *begin == '-';
    if (begin != end && (*begin == '-' || *begin == '+')) ++begin;
    if (begin == end || *begin == '-' || *begin == '+') return false;
    const auto [stop, ec] = std::from_chars(begin, end, value);
    if (stop != end) return false;
    if (ec == std::errc::result_out_of_range)
        value = folded_value<T>(begin, end, false); // infinity or zero, as the scanner gives
    else if (ec != std::errc())
        return false;
    if (negative) value = -value;
    return true;
}

// Counts a skipped header line and keeps the last one, the last that is not a
// comment when there is one: the line most likely to name the columns.
void keep_header(const char* begin, const char* end, bool comment, long& skipped)
{
    if (skipped++ > 0 && comment && column_read.named) return;
    column_read.named |= !comment;
    const std::size_t n =
        std::min<std::size_t>(static_cast<std::size_t>(end - begin), header_chars - 1);
    std::memcpy(column_read.header, begin, n);
    column_read.header[n] = '\0';
}

// Reports the skipped header lines once per record, on the error stream.
void report_header(long skipped)
{
    if (skipped == 0 || column_read.reported) return;
    column_read.reported = true;
    zfprint(stderr, "zentri: skipped %ld header line%s: \"%.*s\"\n", skipped,
            skipped == 1 ? "" : "s", shown_chars, column_read.header);
}

// Ends the run at a line before the data that does not fit the block: a header
// or comment line too long to skip, or a first data line too long to count.
[[noreturn]] void refuse_overlong_line()
{
    if (!record_is_file())
        end_run("\n\n Error: a line of the record is longer than the %lu bytes the reader holds"
                " at once. \n",
                static_cast<unsigned long>(block_bytes));
    end_run("\n\n Error: line %ld of the record is longer than the %lu bytes the reader holds"
            " at once. \n",
            find_record_place(column_read.line_start).line,
            static_cast<unsigned long>(block_bytes));
}

// Skips the header and comment lines before the first data line and chooses the separator.
void start_record()
{
    column_read.started = true;
    column_read.header[0] = '\0';
    column_read.named = false;
    choose_line_end();
    long skipped = 0;
    const char* begin;
    const char* end;
    while (next_line(begin, end)) {
        if (is_empty(begin, end)) continue;
        const char first = *skip_blanks(begin, end);
        const bool comment = first == '#' || first == '%';
        if (!column_read.overlong && (comment || !starts_with_number(begin, end))) {
            keep_header(begin, end, comment, skipped);
            continue;
        }
        column_read.separator = separator_of(begin, end);
        if (column_read.overlong) refuse_overlong_line();
        column_read.fields = fields_of(begin, end);
        column_read.pos = static_cast<std::size_t>(column_read.line_start -
                                                   column_read.base); // read it again as data
        break;
    }
    report_header(skipped);
}

// True when a digit, a run of the given bytes and a digit follow each other in the line.
bool digits_around(const char* begin, const char* end, const char* between)
{
    for (const char* p = begin; p != end; ++p) {
        if (*p < '0' || *p > '9') continue;
        const char* q = p + 1;
        while (q != end && std::strchr(between, *q) != nullptr && *q != '\0') ++q;
        if (q != p + 1 && q != end && *q >= '0' && *q <= '9') return true;
    }
    return false;
}

// True when a line that could not be read looks written with decimal commas:
// "0,5;1,2", or "0,5 1,2" where the comma was taken for the separator.
bool suggests_decimal_commas(const char* begin, const char* end)
{
    if (!digits_around(begin, end, ",")) return false;
    return column_read.separator != ',' || digits_around(begin, end, " \t");
}

// Leaves the line to be read again and notes why it could not be read.
int refuse_line(const char* begin, const char* end)
{
    column_read.pos = static_cast<std::size_t>(column_read.line_start - column_read.base);
    column_read.note = suggests_decimal_commas(begin, end)
                           ? " The line looks written with decimal commas, which are not supported:"
                             " write 0.5, not 0,5."
                           : "";
    return 0;
}

// Reads the field at p as a number, moving p past it as next_field() does;
// false when the line has no more fields or the field is not a number. The
// usual number is read in place, as the scanner reads it.
template <class T>
[[gnu::always_inline]] inline bool take_number(const char*& p, const char* line_end, T& value)
{
    if (p != nullptr) {
        const char* q = skip_blanks(p, line_end);
        if (quick_number(q, value, space_class | separator_class)) {
            const char* after = skip_blanks(q, line_end);
            const bool blanks = column_read.separator == ' ';
            if (after == line_end || (blanks ? after != q : *after == column_read.separator)) {
                p = after == line_end ? (blanks ? line_end : nullptr) : after + !blanks;
                return true;
            }
        }
    }
    const char* begin;
    const char* end;
    return next_field(p, line_end, begin, end) && field_value(begin, end, value);
}

// Reads the next data line: its time, and the amplitudes of count columns (1
// or more) from the first amplitude column on, each as T. Blank lines are passed over.
template <class T> int scan_line(double* time, T* amplitudes, int count)
{
    follow_stream();
    if (!column_read.started) start_record();
    const char* begin;
    const char* end;
    do {
        if (!next_line(begin, end)) return EOF;
    } while (is_empty(begin, end) && !column_read.overlong);
    if (column_read.overlong) {
        refuse_line(begin, end);
        static_assert(block_bytes == 1048576, "the note names the block's size");
        column_read.note = " The line is longer than the 1048576 bytes the reader holds at once.";
        return 0;
    }
    const int first = st.column; // column of the first amplitude
    const int time_column = st.rate > 0. ? 0 : 1;
    const char* p = begin;
    const char* b;
    const char* e;
    for (int column = 1; column < first; ++column) {
        const bool read =
            column == time_column ? take_number(p, end, *time) : next_field(p, end, b, e);
        if (!read) return refuse_line(begin, end);
    }
    int c = 0;
    do {
        if (!take_number(p, end, amplitudes[c])) return refuse_line(begin, end);
    } while (++c < count);
    if (time_column == 0) *time = static_cast<double>(column_read.samples) / st.rate;
    ++column_read.samples;
    column_read.last_end = column_read.base + (end - column_read.text);
    return 2;
}

// The amplitude least fit to be used of a line's channels: the first that is
// not a number, else the one of largest magnitude.
template <class T> T least_usable(const T* amplitudes, int channels)
{
    T worst = amplitudes[0];
    for (int c = 1; c < channels && !std::isnan(worst); ++c)
        if (!(std::fabs(amplitudes[c]) <= std::fabs(worst))) worst = amplitudes[c];
    return worst;
}

// Adds a line's amplitudes to each channel's sums while the record is read the first time.
template <class T> void add_to_sums(const T* amplitudes, int channels)
{
    for (int c = 0; c < channels && column_read.first_pass; ++c) {
        column_read.sum[c] += amplitudes[c];
        column_read.sum_sq[c] += static_cast<double>(amplitudes[c]) * amplitudes[c];
    }
}

// Reads a line of every channel and gives the amplitude least fit to be used.
template <class T> int scan_all_channels(double* time, T* amplitude)
{
    T amplitudes[max_channels];
    const int channels = st.channels;
    const int result = scan_line(time, amplitudes, channels);
    if (result != 2) return result;
    *amplitude = least_usable(amplitudes, channels);
    add_to_sums(amplitudes, channels);
    return result;
}

// Channel 0 in the segment loop: reads a line of every channel and keeps it.
int read_and_keep(double* time, float* amplitude)
{
    float amplitudes[max_channels];
    const int channels = st.channels;
    const int result = scan_line(time, amplitudes, channels);
    if (result != 2) {
        column_read.end_result = result;
        return result;
    }
    column_kept.time[column_read.kept] = *time;
    for (int c = 0; c < channels; ++c) column_kept.amplitude[c][column_read.kept] = amplitudes[c];
    add_to_sums(amplitudes, channels); // a single pass has no first pass of its own
    ++column_read.kept;
    *amplitude = amplitudes[0];
    return 2;
}

// A later channel in the segment loop: gives back the next line channel 0 kept.
int give_back(double* time, float* amplitude)
{
    if (column_read.given == column_read.kept) return column_read.end_result;
    *time = column_kept.time[column_read.given];
    *amplitude = column_kept.amplitude[column_read.channel][column_read.given++];
    return 2;
}

int column_scan_survey_pair(double* time, double* amplitude)
{
    if (st.channels > 0) return scan_all_channels(time, amplitude);
    return scan_line(time, amplitude, 1);
}

int column_scan_segment_pair(double* time, float* amplitude)
{
    if (st.channels == 0) return scan_line(time, amplitude, 1);
    if (column_read.channel < 0) return scan_all_channels(time, amplitude);
    return column_read.channel == 0 ? read_and_keep(time, amplitude) : give_back(time, amplitude);
}

std::uint32_t column_scan_segment_pairs(double* time, float* amplitude, signed char* result,
                                        std::uint32_t n)
{
    // A lambda, not the function's address, so the read stays inlined in the loop.
    const auto read = [](double* t, float* a) { return column_scan_segment_pair(t, a); };
    return scan_pairs_with(read, time, amplitude, result, n);
}

void column_select_channel(int channel)
{
    column_read.channel = channel;
    column_read.given = 0;
    if (channel == 0) column_read.kept = 0;
}

void column_rewind_record()
{
    if (st.fp[1] != nullptr) std::rewind(st.fp[1]);
    follow_stream();
    adopt_record();
    column_read.first_pass = false;
    column_read.channel = -1;
}

long long column_record_offset()
{
    follow_stream();
    if (!column_read.started) start_record();
    return column_read.pos == static_cast<std::size_t>(column_read.line_start - column_read.base)
               ? column_read.line_start
               : column_read.last_end;
}

void column_channel_sums(int channel, double& sum, double& sum_sq)
{
    sum = column_read.sum[channel];
    sum_sq = column_read.sum_sq[channel];
}

} // namespace

const record_reader column_reader{column_scan_survey_pair,   column_scan_segment_pair,
                                  column_scan_segment_pairs, column_rewind_record,
                                  column_record_offset,      column_select_channel,
                                  column_channel_sums,       nothing_to_close};

const char* column_stop_note()
{
    return column_read.note;
}

const char* column_header()
{
    follow_stream();
    if (!column_read.started) start_record();
    return column_read.header;
}

int column_count()
{
    follow_stream();
    if (!column_read.started) start_record();
    return column_read.fields;
}

void column_name(int column, char* out, int cap)
{
    out[0] = '\0';
    const char* header = column_header();
    const char* header_end = header + std::strlen(header);
    const char* begin;
    const char* end;
    const char* p = header;
    for (int k = 1; next_field(p, header_end, begin, end); ++k) {
        if (k != column) continue;
        if (end - begin >= 2 && (*begin == '"' || *begin == '\'') && end[-1] == *begin) {
            ++begin;
            --end;
        }
        const int n = std::min(static_cast<int>(end - begin), cap - 1);
        std::memcpy(out, begin, static_cast<std::size_t>(n));
        out[n] = '\0';
        return;
    }
}

void reset_column_reader()
{
    clear_block(column_read);
    column_read.overlong = false;
    column_read.line_end = '\n';
    column_read.started = false;
    column_read.separator = ' ';
    column_read.fields = 0;
    column_read.samples = 0;
    column_read.reported = false;
    column_read.last_end = 0;
    column_read.line_start = 0;
    column_read.note = "";
    column_read.header[0] = '\0';
    column_read.named = false;
    column_read.channel = -1;
    column_read.kept = 0;
    column_read.given = 0;
    column_read.end_result = 0;
    column_read.first_pass = true;
    std::fill(std::begin(column_read.sum), std::end(column_read.sum), 0.);
    std::fill(std::begin(column_read.sum_sq), std::end(column_read.sum_sq), 0.);
    std::memset(&column_kept, 0, sizeof column_kept);
}
