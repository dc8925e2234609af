// Folding a number text of any length and its correctly rounded value.
#include "input/long_number.h"

#include <charconv>
#include <limits>

namespace {

constexpr long long exponent_cap = 1000000000000000LL; // 1e15: far beyond any finite value
constexpr long long scale_cap = 1LL << 40;             // more digits than any file holds
constexpr long long power_cap = 1000000; // |power| above this is certainly out of range

// Value of a digit character in base 16 (decimal digits are the same).
int digit_value(char c)
{
    return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
}

// The power p of the folded number written as 0.<digits> times 10^p, or times
// 2^p for hexadecimal, held where the value is certainly out of range.
long long power_of(const long_number& n)
{
    long long power = n.hex ? 4 * n.scale : n.scale;
    if (n.exponent_digits) power += n.exponent_negative ? -n.exponent : n.exponent;
    if (power > power_cap) return power_cap;
    if (power < -power_cap) return -power_cap;
    return power;
}

} // namespace

void fold_number_char(long_number& n, char c)
{
    if (n.in_exponent) {
        if (c == '+' || c == '-') {
            n.exponent_negative = c == '-';
        } else {
            n.exponent_digits = true;
            if (n.exponent < exponent_cap) n.exponent = n.exponent * 10 + (c - '0');
        }
        return;
    }
    const char lower = static_cast<char>(c | 0x20);
    if (c == '+' || c == '-') {
        n.negative = c == '-';
    } else if (lower == 'x') {
        n.hex = true;
    } else if (c == '.') {
        n.point = true;
    } else if (lower == (n.hex ? 'p' : 'e')) {
        n.in_exponent = true;
    } else if (n.significant || digit_value(c) != 0) {
        n.significant = true;
        if (!n.point && n.scale < scale_cap) ++n.scale;
        if (n.kept < long_number_digits)
            n.digits[n.kept++] = c;
        else if (digit_value(c) != 0)
            n.sticky = true;
    } else if (n.point && n.scale > -scale_cap) {
        --n.scale; // a zero between the point and the first significant digit
    }
}

template <class T> T long_number_value(const long_number& n)
{
    T value = 0;
    if (n.significant) {
        const long long power = power_of(n);
        char text[long_number_digits + 32] = "0.";
        int len = 2;
        for (int i = 0; i < n.kept; ++i) text[len++] = n.digits[i];
        if (n.sticky) text[len++] = '1';
        text[len++] = n.hex ? 'p' : 'e';
        char* const end = std::to_chars(text + len, text + sizeof text, power).ptr;
        const auto format = n.hex ? std::chars_format::hex : std::chars_format::general;
        if (std::from_chars(text, end, value, format).ec != std::errc())
            value = power > 0 ? std::numeric_limits<T>::infinity() : 0;
    }
    return n.negative ? -value : value;
}

template <class T> T folded_value(const char* begin, const char* end, bool hex)
{
    long_number n{};
    n.hex = hex;
    for (const char* p = begin; p != end; ++p) fold_number_char(n, *p);
    return long_number_value<T>(n);
}

template double long_number_value<double>(const long_number&);
template float long_number_value<float>(const long_number&);
template double folded_value<double>(const char*, const char*, bool);
template float folded_value<float>(const char*, const char*, bool);
