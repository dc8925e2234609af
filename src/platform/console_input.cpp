// Reading the answers typed at the console: integers and lines.
#include "platform/console_input.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <unistd.h>

console_output_state console_output{};

namespace {

constexpr long long clamp_limit = 1000000000000000000LL; // 1e18

// Skips white space; returns the first other character or EOF.
int skip_blanks()
{
    int c;
    do c = std::getchar();
    while (c != EOF && std::isspace(c));
    return c;
}

} // namespace

answer_result read_integer_answer(long long* value)
{
    std::fflush(stdout);
    int c = skip_blanks();
    if (c == EOF) return answer_end;
    const bool negative = c == '-';
    if (c == '-' || c == '+') c = std::getchar();
    if (c == EOF || !std::isdigit(c)) {
        if (c != EOF) std::ungetc(c, stdin);
        return answer_not_number;
    }
    long long v = 0;
    for (; c != EOF && std::isdigit(c); c = std::getchar())
        v = v >= clamp_limit / 10 ? clamp_limit : v * 10 + (c - '0');
    if (c != EOF) std::ungetc(c, stdin);
    // "256.5" or "1024abc" is not an integer answer: the digits must end the word.
    if (c != EOF && !std::isspace(c)) return answer_not_number;
    *value = negative ? -v : v;
    return answer_ok;
}

answer_result read_line_answer(char* buf, std::size_t cap)
{
    std::fflush(stdout);
    int c = skip_blanks();
    if (c == EOF) return answer_end;
    std::size_t n = 0;
    bool too_long = false;
    for (; c != EOF && c != '\n'; c = std::getchar()) {
        if (n + 1 < cap)
            buf[n++] = static_cast<char>(c);
        else if (!std::isspace(c))
            too_long = true; // blanks past the end may still be trimmed away
    }
    while (n > 0 && std::isspace(static_cast<unsigned char>(buf[n - 1]))) --n;
    buf[n] = '\0';
    if (too_long) {
        buf[0] = '\0';
        return answer_too_long;
    }
    return answer_ok;
}

void discard_input_line()
{
    int c;
    do c = std::getchar();
    while (c != EOF && c != '\n');
}

void set_console_buffering()
{
    if (!isatty(STDOUT_FILENO))
        std::setvbuf(stdout, console_output.buffer, _IOFBF, sizeof console_output.buffer);
}

void reset_console_output()
{
    std::fflush(stdout); // the buffer may be standard output's: empty it before clearing
    std::memset(console_output.buffer, 0, sizeof console_output.buffer);
}
