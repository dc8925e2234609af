// The fast record scanner: reads the record in large blocks into one static
// buffer and parses the pairs there, giving the same results, values and stream
// positions as the reference reader (record_reference.cpp): the C library's
// fscanf with "%lf %lf" and " %lf %f " (the grammar of one field is in
// float_field.h), where a number stands only before white space or the end
// of the record, and a read that gives no pair takes nothing. Decimal text is
// converted correctly rounded straight to the field's type, the float
// amplitude never via double.
#include "input/record_scanner.h"
#include "core/analysis_state.h"
#include "input/block_source.h"
#include "input/float_field.h"
#include "input/long_number.h"
#include "input/record_reader.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

scanner_state scanner;
thread_local block_source* scanner_state::active = &scanner.shared;

namespace {

constexpr std::size_t smallest_window = 16;

// Adopts the stream of slot 1 when it is not the one being read.
void follow_stream()
{
    block_source& reader = *scanner_state::active;
    if (&reader == &scanner.shared && !follows_slot_stream(reader)) adopt_stream(reader);
}

// Skips white space inside the buffer.
const char* skip_space_in_buffer(const char* p)
{
    while (class_of(*p) & space_class) ++p;
    return p;
}

// Skips white space; returns false when the record ends first.
bool skip_space()
{
    block_source& reader = *scanner_state::active;
    for (;;) {
        reader.pos =
            static_cast<std::size_t>(skip_space_in_buffer(reader.text + reader.pos) - reader.text);
        if (reader.pos < reader.end) return true;
        if (reader.at_eof) return false;
        refill(reader, reader.pos);
    }
}

// Reads a number inside the buffer; it is starved when it has to look past the
// bytes read while the stream may hold more.
struct buffer_cursor {
    const char* p;
    const char* limit;
    const char* digits;    // first byte of the mantissa, after the sign and 0x
    const char* value_end; // end of the text that makes the value
    char peek() const { return *p; }
    void take() { ++p; }
    bool at_limit() const { return p == limit; }
    bool starved() const { return p == limit && !scanner_state::active->at_eof; }
    void mark_digits() { digits = p; }
    void mark_value_end() { value_end = p; }
};

// Reads a number of any length straight from the stream, refilling the buffer
// as it goes and folding every byte it takes into a long_number.
struct stream_cursor {
    long_number& number;
    static char peek()
    {
        block_source& reader = *scanner_state::active;
        if (reader.pos == reader.end && !reader.at_eof) refill(reader, reader.pos);
        return reader.text[reader.pos];
    }
    void take()
    {
        block_source& reader = *scanner_state::active;
        fold_number_char(number, reader.text[reader.pos++]);
    }
    static bool at_limit()
    {
        return peek(), scanner_state::active->pos == scanner_state::active->end;
    }
    static bool starved() { return false; }
    void mark_digits() {}
    void mark_value_end() {}
};

// The value of a number read inside the buffer, correctly rounded to T.
template <class T> T buffer_value(number_kind kind, bool negative, const buffer_cursor& c)
{
    if (kind == number_kind::infinity || kind == number_kind::not_a_number)
        return special_value<T>(kind, negative);
    T v = 0;
    if (kind != number_kind::hex_zero) {
        const bool hex = kind == number_kind::hex;
        const auto format = hex ? std::chars_format::hex : std::chars_format::general;
        if (std::from_chars(c.digits, c.value_end, v, format).ec != std::errc())
            v = folded_value<T>(c.digits, c.value_end, hex); // beyond the range of T
    }
    return negative ? -v : v;
}

// Reads a number that fills the whole buffer, folding it as it streams by.
template <class T> int scan_long_number(T* out)
{
    long_number number{};
    stream_cursor c{number};
    bool negative = false;
    const number_kind kind = recognise(c, negative);
    if (kind == number_kind::none ||
        !(stream_cursor::at_limit() || (class_of(stream_cursor::peek()) & space_class)))
        return 0;
    if (kind == number_kind::infinity || kind == number_kind::not_a_number)
        *out = special_value<T>(kind, negative);
    else
        *out = long_number_value<T>(number);
    return 1;
}

// Reads a pair whose two numbers are of the usual shape and lie inside the
// buffer, leaving end after the amplitude; returns false, having changed
// nothing, for any other text.
template <class T>
[[gnu::always_inline]] inline bool quick_pair(double* time, T* amplitude, const char*& end)
{
    block_source& reader = *scanner_state::active;
    const char* p = skip_space_in_buffer(reader.text + reader.pos);
    double t;
    T a;
    if (!quick_number(p, t)) return false;
    p = skip_space_in_buffer(p);
    if (!quick_number(p, a)) return false;
    *time = t;
    *amplitude = a;
    end = p;
    return true;
}

// Reads one floating-point field, whatever its shape, from reader.pos on (white
// space already skipped); returns 1 when converted, 0 when the text is no
// number or runs on into other text ("1.5.5", "info"). The byte after a
// number decides, so a number at the end of the bytes read waits for more.
template <class T> [[gnu::noinline]] int scan_any_number(T* out)
{
    block_source& reader = *scanner_state::active;
    for (;;) {
        buffer_cursor c{reader.text + reader.pos, reader.text + reader.end, nullptr, nullptr};
        bool negative = false;
        const number_kind kind = recognise(c, negative);
        if (kind == number_kind::none) return 0;
        if (kind != number_kind::more && !c.starved()) {
            if (!c.at_limit() && !(class_of(c.peek()) & space_class)) return 0;
            reader.pos = static_cast<std::size_t>(c.p - reader.text);
            *out = buffer_value<T>(kind, negative, c);
            return 1;
        }
        if (reader.pos == 0 && reader.end == reader.capacity) return scan_long_number(out);
        refill(reader, reader.pos);
    }
}

// Reads one floating-point field as scanf's %lf or %f does: 1 when converted,
// 0 when the text there is no number standing alone, EOF when the record ends
// before any byte.
template <class T> int scan_number(T* out)
{
    block_source& reader = *scanner_state::active;
    if (!skip_space()) return EOF;
    const char* p = reader.text + reader.pos;
    if (!quick_number(p, *out)) return scan_any_number(out);
    reader.pos = static_cast<std::size_t>(p - reader.text);
    return 1;
}

// Puts the scanner back at a record offset it has gone past: inside the
// buffer while the bytes are still there, else by reading again from there.
void return_to(long long offset)
{
    block_source& reader = *scanner_state::active;
    if (offset >= reader.base) {
        reader.pos = static_cast<std::size_t>(offset - reader.base);
        return;
    }
    fseeko(reader.stream, offset, SEEK_SET);
    adopt_stream(reader, reader.stream);
}

// Reads a pair the quick path did not take, after the white space before it:
// 2 with both values; otherwise nothing is taken and the scanner stays at the
// pair's first byte, with 1 for a time and then the end of the record, 0 for
// text that is not two numbers, EOF at the end of the record.
template <class T> [[gnu::noinline]] int any_pair(double* time, T* amplitude)
{
    block_source& reader = *scanner_state::active;
    if (!skip_space()) return EOF;
    const long long start = reader.base + static_cast<long long>(reader.pos);
    double t;
    T a;
    const int got_time = scan_number(&t);
    const int got_amplitude = got_time == 1 ? scan_number(&a) : 0;
    if (got_amplitude == 1) {
        *time = t;
        *amplitude = a;
        return 2;
    }
    return_to(start);
    return got_amplitude == EOF ? 1 : 0;
}

// Reads one pair as fscanf(" %lf %f ") does from the stream being read.
[[gnu::always_inline]] inline int segment_pair(double* time, float* amplitude)
{
    block_source& reader = *scanner_state::active;
    const char* end;
    if (quick_pair(time, amplitude, end)) {
        reader.pos = static_cast<std::size_t>(skip_space_in_buffer(end) - reader.text);
        if (reader.pos == reader.end) skip_space(); // the white space may go on in the next block
        return 2;
    }
    const int r = any_pair(time, amplitude);
    if (r == 2) skip_space();
    return r;
}

} // namespace

int fast_scan_survey_pair(double* time, double* amplitude)
{
    block_source& reader = *scanner_state::active;
    follow_stream();
    const char* end;
    if (quick_pair(time, amplitude, end)) {
        reader.pos = static_cast<std::size_t>(end - reader.text);
        return 2;
    }
    return any_pair(time, amplitude);
}

int fast_scan_segment_pair(double* time, float* amplitude)
{
    follow_stream();
    return segment_pair(time, amplitude);
}

std::uint32_t fast_scan_segment_pairs(double* time, float* amplitude, signed char* result,
                                      std::uint32_t n)
{
    follow_stream();
    // A lambda, not the function's address, so the quick path stays inlined in the loop.
    const auto read = [](double* t, float* a) { return segment_pair(t, a); };
    return scan_pairs_with(read, time, amplitude, result, n);
}

void fast_rewind_record()
{
    block_source& reader = *scanner_state::active;
    if (st.fp[1] != nullptr) std::rewind(st.fp[1]);
    adopt_stream(reader, st.fp[1]);
}

long long fast_record_offset()
{
    block_source& reader = *scanner_state::active;
    follow_stream();
    return reader.base + static_cast<long long>(reader.pos);
}

void fast_scan_set_window(std::size_t capacity, std::size_t chunk)
{
    block_source& reader = *scanner_state::active;
    if (capacity == 0 || capacity > block_bytes) capacity = block_bytes;
    if (capacity < smallest_window) capacity = smallest_window;
    reader.capacity = capacity;
    reader.chunk = chunk == 0 || chunk > capacity ? capacity : chunk;
    reader.stream = nullptr; // the next call adopts the stream of slot 1 again
    reader.pos = reader.end = 0;
    reader.at_eof = true;
    reader.text[0] = '\0';
}

void fast_scan_use_block(block_source* block)
{
    scanner_state::active = block != nullptr ? block : &scanner.shared;
}

const record_reader fast_scanner{
    fast_scan_survey_pair, fast_scan_segment_pair, fast_scan_segment_pairs, fast_rewind_record,
    fast_record_offset,    no_channel_select,      no_channel_sums,         nothing_to_close};

void reset_scanner()
{
    clear_block(scanner.shared);
    scanner_state::active = &scanner.shared;
}
