// How the C library's scanf reads a floating-point field ("%lf", "%f"): the
// grammar, as templates over a cursor that the record scanner supplies, and a
// quick path for the usual shape of number.
//
// What the C library's scanf takes as a floating-point field: after white
// space, an optional sign, then either
// - "inf" or "infinity", or "nan", in any case; a letter that does not fit the
//   word is consumed with the ones before it and the field fails;
// - digits with at most one point, and after at least one digit an exponent
//   mark 'e' with an optional sign and digits; or "0x" and hexadecimal digits
//   with at most one point, and after at least one digit an exponent mark 'p'
//   with an optional sign and decimal digits.
// Every character that fits is consumed; the first one that does not is left
// for the next read. The value is that of the longest prefix that is a number
// (so "1e+" is 1 and "100e" is 100); the field fails when there is none, and
// when nothing but "0x" follows the sign.
#pragma once

#include <cstdint>
#include <cstring>
#include <limits>

// Character classes of the C locale.
// (separator_class: the field separators of the column reader.)
enum : unsigned char { space_class = 1, digit_class = 2, hex_class = 4, separator_class = 8 };

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
    t.of[static_cast<unsigned char>(',')] = t.of[static_cast<unsigned char>(';')] = separator_class;
    return t;
}
constexpr class_table classes = make_classes();

inline unsigned char class_of(char c)
{
    return classes.of[static_cast<unsigned char>(c)];
}

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
// this file) and tells what it is; more when the cursor ran short of bytes
// before it could know (then it is read again with more).
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
inline unsigned digit_of(char c)
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

// The powers of ten that are exact in a double.
constexpr double exact_tens[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                 1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// mantissa * 10^e as a double, when the mantissa and the power of ten are
// both exact in a double: one multiplication or division then rounds
// correctly. Returns false outside that range.
[[gnu::always_inline]] inline bool exact_decimal(std::uint64_t mantissa, int e, double& v)
{
    if (mantissa > (std::uint64_t{1} << 53) || e < -22 || e > 22) return false;
    const double m = static_cast<double>(mantissa);
    v = e < 0 ? m / exact_tens[-e] : m * exact_tens[e];
    return true;
}

// mantissa * 10^e as a float, through the correctly rounded double q: no
// float midpoint lies strictly between the decimal and q (midpoints are
// doubles, and q is the nearest double), so rounding q to float rounds the
// decimal correctly unless q is itself a midpoint, onto which the double may
// have rounded. Returns false then, and outside the range of the double case.
// (Results stay between 1e-22 and 1e38: no float overflow or subnormal.)
[[gnu::always_inline]] inline bool exact_decimal(std::uint64_t mantissa, int e, float& v)
{
    double q;
    if (!exact_decimal(mantissa, e, q)) return false;
    std::uint64_t bits;
    std::memcpy(&bits, &q, sizeof bits);
    constexpr std::uint64_t below_float = (std::uint64_t{1} << 29) - 1; // bits a float drops
    if ((bits & below_float) == std::uint64_t{1} << 28) return false;   // exactly halfway
    v = static_cast<float>(q);
    return true;
}

// The usual number, read and converted quickly: [sign] digits [. digits]
// [e [sign] digits] with one to 19 mantissa digits, followed by white space
// (or a byte of the classes in ends), so it is certain where the C library
// stops, and a value that exact_decimal() converts. Returns false for anything
// else, which the full reader takes.
template <class T>
[[gnu::always_inline]] inline bool quick_number(const char*& at, T& value,
                                                unsigned char ends = space_class)
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
    if (!(class_of(*p) & ends) || !exact_decimal(mantissa, exponent - fraction, value))
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
