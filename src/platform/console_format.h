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
#include <string>

// Formats into out (at most cap bytes, always terminated); returns the full length.
std::size_t zformat(char* out, std::size_t cap, const char* fmt, va_list ap);

// Formats into out like zformat, with the arguments given directly.
std::size_t zsprint(char* out, std::size_t cap, const char* fmt, ...)
    __attribute__((format(printf, 3, 4)));

// Formats to the console (standard output).
void zprint(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// The console's own switch.
struct console_state {
    bool muted; // zprint writes nothing while set
};

// The one console of the process.
extern console_state console;

// Turns the console off (true) or on: while off, zprint returns at once, so
// nothing is even formatted. The scripted run keeps per-segment text off this way.
void set_console_muted(bool muted);

// True while zprint writes nothing.
bool console_is_muted();

// Turns the console on again: its start-up state (the tests' reset).
void reset_console();

// Widens to three digits every two-digit exponent of the numbers in a JSON
// text (1e-05 becomes 1e-005), leaving the text inside strings alone.
std::string widen_json_exponents(const std::string& json);

// Formats to a file stream; returns false when the write failed.
bool zfprint(std::FILE* f, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
