// Answers typed at the console. Each read flushes the console first, so the
// question is on the screen before the program waits for its answer.
#pragma once

#include <cstddef>

// Outcome of reading one answer.
enum answer_result { answer_ok = 1, answer_not_number = 0, answer_end = -1, answer_too_long = -2 };

// Reads one decimal integer the way "%d"/"%ld" do: blanks skipped, optional
// sign, digits. A value beyond +-1e18 is clamped there, so it can never wrap.
// Digits followed by anything but white space ("256.5") are not a number; the
// rest of the word is left unread.
answer_result read_integer_answer(long long* value);

// Reads one answer line into buf (cap bytes with terminator), blank lines
// skipped and leading and trailing blanks (and a CR) removed. A longer answer
// is consumed whole and reported as answer_too_long.
answer_result read_line_answer(char* buf, std::size_t cap);

// Discards the rest of the current input line.
void discard_input_line();

// Standard output's buffer once set_console_buffering() has given it one.
struct console_output_state {
    char buffer[1 << 16]; // the C library ignores the size unless given the buffer
};

// The one console output buffer of the process.
extern console_output_state console_output;

// Makes the console fully buffered when it is not a terminal.
void set_console_buffering();

// Flushes standard output and clears its buffer (the tests' reset).
void reset_console_output();
