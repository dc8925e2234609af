// Formatted text for the console and the result files.
//
// Every number the program prints goes through zformat: it understands the
// printf conversions the program uses (d, i, u, ld, lu, f, lf, e, E, g, G, s, c, %%)
// with flags, width and precision, and writes exponents with at least three
// digits (1.0000e+001), the field width applying to that final text.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdio>

// Formats into out (at most cap bytes, always terminated); returns the full length.
std::size_t zformat(char* out, std::size_t cap, const char* fmt, va_list ap);

// Formats to the console (standard output).
void zprint(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Formats to a file stream; returns false when the write failed.
bool zfprint(std::FILE* f, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
