// Generated records for comparing the record readers: valid numbers of every
// shape, malformed and partial numbers, infinities and not-a-numbers in any
// spelling, hexadecimal floats, values at the ends of the double and float
// ranges, amplitudes whose float rounding differs from rounding via double,
// and every kind of white space and line end between them.
#pragma once

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

// A small deterministic generator, so a failing record can be found again.
struct corpus_rng {
    std::uint64_t state;
    std::uint64_t next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }
    template <std::size_t N> const char* pick(const char* const (&items)[N])
    {
        return items[below(static_cast<int>(N))];
    }
};

// n digits of base 10 or 16.
inline std::string corpus_digits(corpus_rng& r, int n, bool hex)
{
    static const char hex_digits[] = "0123456789abcdefABCDEF";
    std::string s;
    for (int i = 0; i < n; ++i) s += hex ? hex_digits[r.below(22)] : static_cast<char>('0' + r.below(10));
    return s;
}

// A digit count: mostly short, sometimes long.
inline int corpus_length(corpus_rng& r, int usual)
{
    return r.chance(8) ? r.below(30) : r.below(usual + 1);
}

// A decimal or hexadecimal number of random shape, not always complete.
inline std::string corpus_number(corpus_rng& r, bool hex)
{
    std::string s = r.chance(25) ? "-" : r.chance(10) ? "+" : "";
    if (hex) s += r.chance(50) ? "0x" : "0X";
    s += corpus_digits(r, corpus_length(r, 4), hex);
    if (r.chance(70)) s += "." + corpus_digits(r, corpus_length(r, 8), hex);
    if (r.chance(45)) {
        s += hex ? (r.chance(50) ? "p" : "P") : (r.chance(50) ? "e" : "E");
        if (r.chance(60)) s += r.chance(50) ? "-" : "+";
        s += corpus_digits(r, r.chance(5) ? r.below(25) : r.below(4), false);
    }
    return s;
}

// A spelling, possibly cut short or continued, of infinity or not-a-number.
inline std::string corpus_word(corpus_rng& r)
{
    static const char* const words[] = {"inf", "infinity", "nan", "nan(abc)", "infinit", "infx",
                                        "in", "i", "na", "n", "nanq", "infinityy", "info"};
    std::string s = r.chance(20) ? "-" : r.chance(10) ? "+" : "";
    for (const char* c = r.pick(words); *c != '\0'; ++c)
        s += r.chance(30) ? static_cast<char>(std::toupper(static_cast<unsigned char>(*c))) : *c;
    return s;
}

// Text near a float rounding boundary: halfway between two floats, written out
// exactly, then nudged up or down by far less than a double's step, or written
// with 16 to 18 digits, so that rounding through double lands exactly halfway.
inline std::string corpus_float_edge(corpus_rng& r)
{
    float f;
    const std::uint32_t bits = static_cast<std::uint32_t>(r.next()) % 0x7f7fffffu;
    std::memcpy(&f, &bits, sizeof f);
    const double low = f;
    const double halfway = low + (static_cast<double>(std::nextafter(f, INFINITY)) - low) / 2;
    char text[400];
    if (r.chance(40)) {
        // Short enough for the quick path: read as a double it is the midpoint itself.
        std::snprintf(text, sizeof text, "%.*g", 16 + r.below(3), r.chance(30) ? -halfway : halfway);
        return text;
    }
    std::snprintf(text, sizeof text, "%.300e", halfway);
    std::string s = text;
    const auto e = s.find('e');
    std::string mantissa = s.substr(0, e);
    while (mantissa.back() == '0') mantissa.pop_back();
    if (mantissa.back() == '.') mantissa.pop_back();
    if (r.chance(50)) {
        mantissa += "00000000001";
    } else {
        mantissa.back() = static_cast<char>(mantissa.back() - 1);
        mantissa += "99999999999";
    }
    return (r.chance(30) ? "-" : "") + mantissa + s.substr(e);
}

// One item of a record: mostly a plain number, sometimes anything else.
inline std::string corpus_item(corpus_rng& r)
{
    static const char* const malformed[] = {
        "+",   "-",    ".",     "+.",   "-.",    "e5",   "E",      "0x",   "0X.",  "0xp1",  ",",
        ";",   "#",    "abc",   "--1",  "+-1",   "1..2", "1,5",    "1e+-2", "0x.p", "00x1", "1ee2",
        "1e5e", "\x01", "\xa0", "\xff", "x",    "(",    "1e+ 3", "100ergs"};
    static const char* const edges[] = {
        "1e308",     "1.7976931348623157e308", "1.7976931348623159e308", "1e-320", "4e-324",
        "2e-324",    "2.4703282292062328e-324", "3.4028235e38", "3.4028236e38",
        "3.40282356779733661637539395458142568448e38", "1e-45", "7e-46", "1.4e-45", "0x1p-1074",
        "0x1p-1075", "0x1.8p-1075", "0x1p1024", "0x1.fffffffffffff8p1023", "0x1p-149", "0x1p-150",
        "0x1.ffffffp127", "1e99999999999999999999", "1e-99999999999999999999", "0e999999",
        "-0",        "-0.0e-5",  "0x0p0",  "9007199254740993", "123456789012345678901234567890"};
    const int kind = r.below(100);
    if (kind < 55) return corpus_number(r, false);
    if (kind < 63) return corpus_number(r, true);
    if (kind < 70) return corpus_word(r);
    if (kind < 78) return r.pick(malformed);
    if (kind < 88) return corpus_float_edge(r);
    if (kind < 96) return r.pick(edges);
    char text[40];
    std::snprintf(text, sizeof text, "%.*g", 1 + r.below(17), (r.next() >> 11) * 0x1p-40);
    return text;
}

// White space between items; sometimes none at all.
inline std::string corpus_separator(corpus_rng& r)
{
    static const char* const separators[] = {" ", " ", "\t", "\n", "\r\n", "\v", "\f", "  \n\n",
                                             "\r", " \r\n \t", "", "\n\n\n"};
    return r.pick(separators);
}

// count records, each of pairs of items on lines, most of them plain numbers.
inline std::vector<std::string> generated_records(int count, std::uint64_t seed)
{
    corpus_rng r{seed};
    std::vector<std::string> records;
    for (int i = 0; i < count; ++i) {
        std::string record = r.chance(20) ? corpus_separator(r) : "";
        const int pairs = 1 + r.below(12);
        for (int p = 0; p < pairs; ++p) {
            const bool plain = r.chance(75);
            record += (plain ? corpus_number(r, false) : corpus_item(r)) + corpus_separator(r);
            record += (plain && r.chance(70) ? corpus_number(r, false) : corpus_item(r));
            record += r.chance(85) ? (r.chance(80) ? "\n" : "\r\n") : corpus_separator(r);
        }
        if (r.chance(15)) record += corpus_item(r); // a last line cut anywhere
        records.push_back(record);
    }
    return records;
}

// A record shown with its control bytes escaped, for messages.
inline std::string shown(const std::string& record)
{
    std::string s;
    for (const unsigned char c : record) {
        if (c >= 0x20 && c < 0x7f) {
            s += static_cast<char>(c);
        } else {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\x%02x", c);
            s += esc;
        }
    }
    return s;
}
