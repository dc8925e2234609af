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

namespace {

constexpr int header_chars = 1024; // header text kept at most
constexpr int shown_chars = 80;    // header text shown at most

// Where the column reader stands in the record: its block of the record (the
// longest line it reads whole is a full block), and what it knows of the lines.
struct column_state : block_source {
    bool overlong = false;          // the line found last did not fit the block
    char line_end = '\n';           // '\n', or '\r' for a record of lone "\r" line ends
    bool started = false;           // the header is behind and the separator known
    char separator = ' ';           // ',' or ';', or ' ' for runs of blanks and tabs
    int fields = 0;                 // fields of the first data line
    std::uint32_t samples = 0;      // lines read since the start, for times made from the rate
    bool reported = false;          // the skipped header lines have been reported
    long long last_end = 0;         // offset of the end of the last line read, before its line end
    long long line_start = 0;       // offset of the line being read
    const char* note = "";          // why the last line could not be read, or ""
    char header[header_chars] = {}; // the last header line skipped
    bool named = false;             // it is not a comment line
    int channel = -1;               // channel whose reads follow in the segment loop, or -1
    int kept = 0;                   // lines of the segment kept by channel 0
    int given = 0;                  // lines of the segment given back to the current channel
    int end_result = 0;             // what channel 0's read gave after the lines kept
    bool first_pass = true;         // no rewind since the stream was adopted
    double sum[max_channels] = {};  // sums of each channel's amplitudes in the first pass
    double sum_sq[max_channels] = {}; // and of their squares
};
column_state rd;

// The lines of the current segment as channel 0 read them, for the other channels.
double kept_time[max_m];
float kept_amplitude[max_channels][max_m];

// Starts reading the stream of slot 1 afresh, its header not yet skipped.
void adopt_record()
{
    adopt_stream(rd);
    rd.started = false;
    rd.samples = 0;
    rd.note = "";
}

// Adopts the stream of slot 1 when it is not the one being read.
void follow_stream()
{
    if (!follows_slot_stream(rd)) {
        rd.reported = false;
        rd.first_pass = true;
        for (int c = 0; c < max_channels; ++c) rd.sum[c] = rd.sum_sq[c] = 0.;
        adopt_record();
    }
}

// Finds the next line, [begin, end) without its line end, and moves past it;
// false at the end of the record. A line that does not fit the block is given
// as far as it goes, marked overlong.
bool next_line(const char*& begin, const char*& end)
{
    for (;;) {
        const char* start = rd.text + rd.pos;
        const std::size_t left = rd.end - rd.pos;
        const char* p = static_cast<const char*>(std::memchr(start, rd.line_end, left));
        if (p != nullptr || (rd.at_eof && left > 0) || left == block_bytes) {
            const bool ended = p != nullptr;
            if (!ended) p = rd.text + rd.end;
            begin = start;
            end = p;
            if (rd.line_end == '\n' && end != begin && end[-1] == '\r') --end;
            rd.overlong = !ended && !rd.at_eof;
            rd.line_start = rd.base + static_cast<long long>(rd.pos);
            rd.pos = static_cast<std::size_t>(p - rd.text) + ended;
            return true;
        }
        if (rd.at_eof) return false;
        refill(rd, rd.pos);
    }
}

// Chooses the line end of the record from its first one: "\n" (after which a
// "\r" before it is dropped), or a lone "\r".
void choose_line_end()
{
    rd.line_end = '\n';
    for (;;) {
        const char* p = rd.text + rd.pos;
        while (p != rd.text + rd.end && *p != '\n' && *p != '\r') ++p;
        if (p + 1 < rd.text + rd.end || rd.at_eof || rd.end - rd.pos == block_bytes) {
            if (p + 1 < rd.text + rd.end && p[0] == '\r' && p[1] != '\n') rd.line_end = '\r';
            return;
        }
        refill(rd, rd.pos);
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
    if (rd.separator == ' ') {
        if (p == line_end) return false;
        begin = p;
        while (p != line_end && !is_blank(*p)) ++p;
        end = p;
        return true;
    }
    begin = p;
    while (p != line_end && *p != rd.separator) ++p;
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
    if (skipped++ > 0 && comment && rd.named) return;
    rd.named |= !comment;
    const std::size_t n =
        std::min<std::size_t>(static_cast<std::size_t>(end - begin), header_chars - 1);
    std::memcpy(rd.header, begin, n);
    rd.header[n] = '\0';
}

// Reports the skipped header lines once per record, on the error stream.
void report_header(long skipped)
{
    if (skipped == 0 || rd.reported) return;
    rd.reported = true;
    zfprint(stderr, "zentri: skipped %ld header line%s: \"%.*s\"\n", skipped,
            skipped == 1 ? "" : "s", shown_chars, rd.header);
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
            find_record_place(rd.line_start).line, static_cast<unsigned long>(block_bytes));
}

// Skips the header and comment lines before the first data line and chooses the separator.
void start_record()
{
    rd.started = true;
    rd.header[0] = '\0';
    rd.named = false;
    choose_line_end();
    long skipped = 0;
    const char* begin;
    const char* end;
    while (next_line(begin, end)) {
        if (is_empty(begin, end)) continue;
        const char first = *skip_blanks(begin, end);
        const bool comment = first == '#' || first == '%';
        if (!rd.overlong && (comment || !starts_with_number(begin, end))) {
            keep_header(begin, end, comment, skipped);
            continue;
        }
        rd.separator = separator_of(begin, end);
        if (rd.overlong) refuse_overlong_line();
        rd.fields = fields_of(begin, end);
        rd.pos = static_cast<std::size_t>(rd.line_start - rd.base); // read it again as data
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
    return rd.separator != ',' || digits_around(begin, end, " \t");
}

// Leaves the line to be read again and notes why it could not be read.
int refuse_line(const char* begin, const char* end)
{
    rd.pos = static_cast<std::size_t>(rd.line_start - rd.base);
    rd.note = suggests_decimal_commas(begin, end)
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
            const bool blanks = rd.separator == ' ';
            if (after == line_end || (blanks ? after != q : *after == rd.separator)) {
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
    if (!rd.started) start_record();
    const char* begin;
    const char* end;
    do {
        if (!next_line(begin, end)) return EOF;
    } while (is_empty(begin, end) && !rd.overlong);
    if (rd.overlong) {
        refuse_line(begin, end);
        static_assert(block_bytes == 1048576, "the note names the block's size");
        rd.note = " The line is longer than the 1048576 bytes the reader holds at once.";
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
    if (time_column == 0) *time = static_cast<double>(rd.samples) / st.rate;
    ++rd.samples;
    rd.last_end = rd.base + (end - rd.text);
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
    for (int c = 0; c < channels && rd.first_pass; ++c) {
        rd.sum[c] += amplitudes[c];
        rd.sum_sq[c] += static_cast<double>(amplitudes[c]) * amplitudes[c];
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
        rd.end_result = result;
        return result;
    }
    kept_time[rd.kept] = *time;
    for (int c = 0; c < channels; ++c) kept_amplitude[c][rd.kept] = amplitudes[c];
    add_to_sums(amplitudes, channels); // a single pass has no first pass of its own
    ++rd.kept;
    *amplitude = amplitudes[0];
    return 2;
}

// A later channel in the segment loop: gives back the next line channel 0 kept.
int give_back(double* time, float* amplitude)
{
    if (rd.given == rd.kept) return rd.end_result;
    *time = kept_time[rd.given];
    *amplitude = kept_amplitude[rd.channel][rd.given++];
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
    if (rd.channel < 0) return scan_all_channels(time, amplitude);
    return rd.channel == 0 ? read_and_keep(time, amplitude) : give_back(time, amplitude);
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
    rd.channel = channel;
    rd.given = 0;
    if (channel == 0) rd.kept = 0;
}

void column_rewind_record()
{
    if (st.fp[1] != nullptr) std::rewind(st.fp[1]);
    follow_stream();
    adopt_record();
    rd.first_pass = false;
    rd.channel = -1;
}

long long column_record_offset()
{
    follow_stream();
    if (!rd.started) start_record();
    return rd.pos == static_cast<std::size_t>(rd.line_start - rd.base) ? rd.line_start
                                                                       : rd.last_end;
}

void column_channel_sums(int channel, double& sum, double& sum_sq)
{
    sum = rd.sum[channel];
    sum_sq = rd.sum_sq[channel];
}

} // namespace

const record_reader column_reader{column_scan_survey_pair,   column_scan_segment_pair,
                                  column_scan_segment_pairs, column_rewind_record,
                                  column_record_offset,      column_select_channel,
                                  column_channel_sums,       nothing_to_close};

const char* column_stop_note()
{
    return rd.note;
}

const char* column_header()
{
    follow_stream();
    if (!rd.started) start_record();
    return rd.header;
}

int column_count()
{
    follow_stream();
    if (!rd.started) start_record();
    return rd.fields;
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
