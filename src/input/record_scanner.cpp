// The fast record scanner: reads the record in large blocks into one static
// buffer and parses the pairs there, giving the same results, values and stream
// positions as the C library's fscanf with "%lf %lf" and " %lf %f ".
//
// What the C library's scanf takes as a floating-point field, and so what this
// scanner takes: after white space, an optional sign, then either
// - "inf" or "infinity", or "nan", in any case; a letter that does not fit the
//   word is consumed with the ones before it and the field fails;
// - digits with at most one point, and after at least one digit an exponent
//   mark 'e' with an optional sign and digits; or "0x" and hexadecimal digits
//   with at most one point, and after at least one digit an exponent mark 'p'
//   with an optional sign and decimal digits.
// Every character that fits is consumed; the first one that does not is left
// for the next read. The value is that of the longest prefix that is a number
// (so "1e+" is 1 and "100e" is 100); the field fails when there is none, and
// when nothing but "0x" follows the sign. Decimal text is converted correctly
// rounded straight to the field's type, the float amplitude never via double.
#include "input/long_number.h"
#include "input/record_readers.h"
#include "run/analysis_state.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <stdio_ext.h>

namespace {

constexpr std::size_t buffer_bytes = std::size_t{1} << 20; // 1 MiB
constexpr std::size_t smallest_window = 16;

// Bytes of the record from offset reader.base on. A 0 byte always follows the
// last byte read, so every scanning loop stops there without a bounds check.
char text[buffer_bytes + 1];

// Where the scanner stands in the record.
struct scanner_state {
    std::FILE* stream;    // the stream being read
    std::size_t pos;      // next unread byte of text
    std::size_t end;      // end of the bytes read into text
    long long base;       // record offset of text[0]
    bool at_eof;          // the stream has given its last byte
    std::size_t capacity; // bytes text may hold
    std::size_t chunk;    // bytes asked of the stream at a time
};
scanner_state reader{nullptr, 0, 0, 0, true, buffer_bytes, buffer_bytes};

// Character classes of the C locale.
enum : unsigned char { space_class = 1, digit_class = 2, hex_class = 4 };

struct class_table {
    unsigned char of[256];
};

constexpr class_table make_classes()
{
    class_table t{};
    for (const char* s = " \t\n\v\f\r"; *s != '\0'; ++s)
        t.of[static_cast<unsigned char>(*s)] = space_class;
    for (int c = '0'; c <= '9'; ++c) t.of[c] = digit_class | hex_class;
    for (int c = 'a'; c <= 'f'; ++c) t.of[c] = t.of[c - 'a' + 'A'] = hex_class;
    return t;
}
constexpr class_table classes = make_classes();

unsigned char class_of(char c)
{
    return classes.of[static_cast<unsigned char>(c)];
}

// Starts reading the stream of slot 1 afresh from where it stands. The stream
// is made unbuffered, as the scanner reads it in blocks of its own; a buffered
// stream is therefore one the scanner has not seen yet.
void adopt_stream()
{
    reader.stream = st.fp[1];
    reader.pos = reader.end = 0;
    reader.base = 0;
    reader.at_eof = reader.stream == nullptr;
    text[0] = '\0';
    if (reader.stream == nullptr) return;
    std::setvbuf(reader.stream, nullptr, _IONBF, 0);
    const long long at = ftello(reader.stream);
    if (at > 0) reader.base = at;
}

// Adopts the stream of slot 1 when it is not the one being read.
void follow_stream()
{
    if (st.fp[1] != reader.stream || (st.fp[1] != nullptr && __fbufsize(st.fp[1]) != 1))
        adopt_stream();
}

// Keeps text[keep, end) at the front of the buffer and appends the next bytes
// of the stream; notes the end of the record when the stream has none left.
void refill(std::size_t keep)
{
    const std::size_t kept = reader.end - keep;
    if (keep > 0) std::memmove(text, text + keep, kept);
    reader.base += static_cast<long long>(keep);
    reader.pos -= keep;
    reader.end = kept;
    std::size_t want = reader.capacity - kept;
    if (want > reader.chunk) want = reader.chunk;
    const std::size_t got = std::fread(text + kept, 1, want, reader.stream);
    reader.end += got;
    text[reader.end] = '\0';
    if (got == 0) reader.at_eof = true;
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
    for (;;) {
        reader.pos = static_cast<std::size_t>(skip_space_in_buffer(text + reader.pos) - text);
        if (reader.pos < reader.end) return true;
        if (reader.at_eof) return false;
        refill(reader.pos);
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
    bool starved() const { return p == limit && !reader.at_eof; }
    void mark_digits() { digits = p; }
    void mark_value_end() { value_end = p; }
};

// Reads a number of any length straight from the stream, refilling the buffer
// as it goes and folding every byte it takes into a long_number.
struct stream_cursor {
    long_number& number;
    static char peek()
    {
        if (reader.pos == reader.end && !reader.at_eof) refill(reader.pos);
        return text[reader.pos];
    }
    void take() { fold_number_char(number, text[reader.pos++]); }
    static bool at_limit() { return peek(), reader.pos == reader.end; }
    static bool starved() { return false; }
    void mark_digits() {}
    void mark_value_end() {}
};

enum class number_kind { none, more, decimal, hex, hex_zero, infinity, not_a_number };

// Takes the letters of word (lower case) in any case. A byte that does not
// match is taken too, as the C library does not put it back, unless the
// record ends there.
template <class Cursor> number_kind take_word(Cursor& c, const char* word, number_kind kind)
{
    for (; *word != '\0'; ++word) {
        if ((c.peek() | 0x20) != *word) {
            if (c.starved()) return number_kind::more;
            if (!c.at_limit()) c.take();
            return number_kind::none;
        }
        c.take();
    }
    return kind;
}

// Takes "inf" or "infinity" in any case.
template <class Cursor> number_kind take_infinity(Cursor& c)
{
    const number_kind k = take_word(c, "inf", number_kind::infinity);
    if (k != number_kind::infinity) return k;
    if ((c.peek() | 0x20) == 'i') return take_word(c, "inity", k);
    return c.starved() ? number_kind::more : k;
}

// Takes a run of bytes of the class; returns whether there was any.
template <class Cursor> bool take_run(Cursor& c, unsigned char run_class)
{
    bool any = false;
    for (; class_of(c.peek()) & run_class; any = true) c.take();
    return any;
}

// Takes an exponent: the mark, an optional sign and digits; only with digits
// does it belong to the value.
template <class Cursor> void take_exponent(Cursor& c, char mark)
{
    if ((c.peek() | 0x20) != mark) return;
    c.take();
    if (c.peek() == '+' || c.peek() == '-') c.take();
    if (take_run(c, digit_class)) c.mark_value_end();
}

// Takes decimal digits with a point, or 0x and hexadecimal ones, then an exponent.
template <class Cursor> number_kind take_digits_and_exponent(Cursor& c)
{
    c.mark_digits();
    bool hex = false;
    bool digit = false;
    if (c.peek() == '0') {
        c.take();
        digit = true;
        if ((c.peek() | 0x20) == 'x') {
            c.take();
            hex = true;
            digit = false;
            c.mark_digits();
        }
    }
    const unsigned char mantissa_class = hex ? hex_class : digit_class;
    digit |= take_run(c, mantissa_class);
    const bool point = c.peek() == '.';
    if (point) {
        c.take();
        digit |= take_run(c, mantissa_class);
    }
    c.mark_value_end();
    if (digit) take_exponent(c, hex ? 'p' : 'e');
    if (c.starved()) return number_kind::more;
    if (digit) return hex ? number_kind::hex : number_kind::decimal;
    return hex && point ? number_kind::hex_zero : number_kind::none;
}

// Takes one floating-point field as the C library's scanf does (see the top of
// this file) and tells what it is; more when the buffer ended too soon to know.
template <class Cursor> number_kind recognise(Cursor& c, bool& negative)
{
    if (c.peek() == '+' || c.peek() == '-') {
        negative = c.peek() == '-';
        c.take();
    }
    const int first = c.peek() | 0x20;
    if (first == 'i') return take_infinity(c);
    if (first == 'n') return take_word(c, "nan", number_kind::not_a_number);
    return take_digits_and_exponent(c);
}

// The value of a decimal digit, or a number above 9 for any other byte.
unsigned digit_of(char c)
{
    return static_cast<unsigned>(static_cast<unsigned char>(c)) - '0';
}

// Takes the run of decimal digits at p into mantissa; returns the number of
// digits. A byte at a time: the loop's end is predicted well on real records,
// which keeps the position off the chain of dependent loads that word-wide
// digit tests would make it.
[[gnu::always_inline]] inline int quick_digits(const char*& p, std::uint64_t& mantissa)
{
    const char* q = p;
    for (unsigned d; (d = digit_of(*q)) < 10; ++q) mantissa = mantissa * 10 + d;
    const int n = static_cast<int>(q - p);
    p = q;
    return n;
}

// Exact powers of ten of the two types.
constexpr double double_tens[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                  1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr float float_tens[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};

// mantissa * 10^e when both the mantissa and the power of ten are exact in T:
// one multiplication or division then rounds correctly. Returns false outside
// that range.
template <class T>
[[gnu::always_inline]] inline bool exact_decimal(std::uint64_t mantissa, int e, T& v)
{
    constexpr bool is_double = sizeof(T) == sizeof(double);
    constexpr std::uint64_t mantissa_limit = is_double ? (std::uint64_t{1} << 53) : (1u << 24);
    constexpr int tens_limit = is_double ? 22 : 10;
    if (mantissa > mantissa_limit || e < -tens_limit || e > tens_limit) return false;
    const T m = static_cast<T>(mantissa);
    const int k = e < 0 ? -e : e;
    const T ten = is_double ? static_cast<T>(double_tens[k]) : static_cast<T>(float_tens[k]);
    v = e < 0 ? m / ten : m * ten;
    return true;
}

// The usual number, read and converted quickly: [sign] digits [. digits]
// [e [sign] digits] with one to 19 mantissa digits, followed by white space,
// so it is certain where the C library stops, and a value that exact_decimal()
// converts. Returns false for anything else, which the full reader takes.
template <class T> [[gnu::always_inline]] inline bool quick_number(const char*& at, T& value)
{
    const char* p = at;
    const bool negative = *p == '-';
    p += negative || *p == '+';
    std::uint64_t mantissa = 0;
    int digits = quick_digits(p, mantissa);
    int fraction = 0;
    if (*p == '.') {
        ++p;
        fraction = quick_digits(p, mantissa);
        digits += fraction;
    }
    if (digits == 0 || digits > 19) return false;
    int exponent = 0;
    if ((*p | 0x20) == 'e') {
        ++p;
        const bool exponent_negative = *p == '-';
        p += exponent_negative || *p == '+';
        if (digit_of(*p) >= 10) return false;
        for (unsigned d; (d = digit_of(*p)) < 10; ++p) {
            exponent = exponent * 10 + static_cast<int>(d);
            if (exponent > 1000) return false;
        }
        if (exponent_negative) exponent = -exponent;
    }
    if (!(class_of(*p) & space_class) || !exact_decimal(mantissa, exponent - fraction, value))
        return false;
    const T signs[] = {1, -1}; // exact; a table rather than a branch on random signs
    value *= signs[negative];
    at = p;
    return true;
}

// Infinity or not-a-number with its sign.
template <class T> T special_value(number_kind kind, bool negative)
{
    const T v = kind == number_kind::infinity ? std::numeric_limits<T>::infinity()
                                              : std::numeric_limits<T>::quiet_NaN();
    return negative ? -v : v;
}

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
    if (kind == number_kind::none) return 0;
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
    const char* p = skip_space_in_buffer(text + reader.pos);
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
// space already skipped); returns 1 when converted, 0 when the text is no number.
template <class T> [[gnu::noinline]] int scan_any_number(T* out)
{
    for (;;) {
        buffer_cursor c{text + reader.pos, text + reader.end, nullptr, nullptr};
        bool negative = false;
        const number_kind kind = recognise(c, negative);
        if (kind != number_kind::more) {
            reader.pos = static_cast<std::size_t>(c.p - text);
            if (kind == number_kind::none) return 0;
            *out = buffer_value<T>(kind, negative, c);
            return 1;
        }
        if (reader.pos == 0 && reader.end == reader.capacity) return scan_long_number(out);
        refill(reader.pos);
    }
}

// Reads one floating-point field as scanf's %lf or %f does: 1 when converted,
// 0 when the text there is no number, EOF when the record ends before any byte.
template <class T> int scan_number(T* out)
{
    if (!skip_space()) return EOF;
    const char* p = text + reader.pos;
    if (!quick_number(p, *out)) return scan_any_number(out);
    reader.pos = static_cast<std::size_t>(p - text);
    return 1;
}

} // namespace

int fast_scan_survey_pair(double* time, double* amplitude)
{
    follow_stream();
    const char* end;
    if (quick_pair(time, amplitude, end)) {
        reader.pos = static_cast<std::size_t>(end - text);
        return 2;
    }
    const int r = scan_number(time);
    if (r != 1) return r;
    return scan_number(amplitude) == 1 ? 2 : 1;
}

int fast_scan_segment_pair(double* time, float* amplitude)
{
    follow_stream();
    const char* end;
    if (quick_pair(time, amplitude, end)) {
        reader.pos = static_cast<std::size_t>(skip_space_in_buffer(end) - text);
        if (reader.pos == reader.end) skip_space(); // the white space may go on in the next block
        return 2;
    }
    const int r = scan_number(time);
    if (r != 1) return r;
    if (scan_number(amplitude) != 1) return 1;
    skip_space();
    return 2;
}

void fast_rewind_record()
{
    if (st.fp[1] != nullptr) std::rewind(st.fp[1]);
    adopt_stream();
}

long long fast_record_offset()
{
    follow_stream();
    return reader.base + static_cast<long long>(reader.pos);
}

void fast_scan_set_window(std::size_t capacity, std::size_t chunk)
{
    if (capacity == 0 || capacity > buffer_bytes) capacity = buffer_bytes;
    if (capacity < smallest_window) capacity = smallest_window;
    reader.capacity = capacity;
    reader.chunk = chunk == 0 || chunk > capacity ? capacity : chunk;
    reader.stream = nullptr; // the next call adopts the stream of slot 1 again
    reader.pos = reader.end = 0;
    reader.at_eof = true;
    text[0] = '\0';
}
