// A number text of any length, folded as it goes by into what decides its
// value: the sign, the leading significant digits (more than correct rounding
// ever needs), whether a non-zero digit follows them, and the position of the
// point and the exponent as counts. Used for numbers longer than the scanner's
// buffer and for values beyond the range of the type.
#pragma once

constexpr int long_number_digits = 800; // significant digits kept

struct long_number {
    bool negative;          // the text began with '-'
    bool hex;               // the text began 0x (or is a hexadecimal mantissa)
    bool point;             // the point has gone by
    bool significant;       // a non-zero digit has gone by
    bool in_exponent;       // the exponent mark (e, or p for hexadecimal) has gone by
    bool exponent_negative; // the exponent's sign is '-'
    bool exponent_digits;   // the exponent has a digit; without one it does not count
    bool sticky;            // a non-zero digit came after the kept ones
    int kept;               // digits kept
    long long scale;        // digits from the first significant one to the point
    long long exponent;     // the exponent's magnitude, held below 1e15
    char digits[long_number_digits];
};

// Adds the next character of a number text the scanner accepted.
void fold_number_char(long_number& n, char c);

// The folded number, correctly rounded; infinity or zero when beyond the type's range.
template <class T> T long_number_value(const long_number& n);

// Folds the mantissa-and-exponent text [begin, end) (no sign, no 0x) and returns its value.
template <class T> T folded_value(const char* begin, const char* end, bool hex);
