// The scripted run's one-line messages on standard error and its exit.
#include "core/script_messages.h"
#include "core/analysis_state.h"
#include "core/helper_ending.h"
#include "core/run_cleanups.h"
#include "platform/console_format.h"
#include "platform/progress_bar.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

std::string formatted(const char* fmt, va_list ap)
{
    char text[2048];
    zformat(text, sizeof text, fmt, ap);
    return text;
}

std::string one_line(const char* text)
{
    std::string out;
    for (const char* p = text; *p != '\0'; ++p) {
        if (!std::isspace(static_cast<unsigned char>(*p)))
            out += *p;
        else if (!out.empty() && out.back() != ' ')
            out += ' ';
    }
    if (!out.empty() && out.back() == ' ') out.pop_back();
    for (const char* lead : {"Error: ", "Warning: "})
        if (out.compare(0, std::strlen(lead), lead) == 0) out.erase(0, std::strlen(lead));
    return out;
}

std::string escaped(const std::string& text)
{
    static const char names[] = "abtnvfr"; // \a to \r, bytes 7 to 13
    std::string out;
    for (const char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u != 0x7f) {
            out += c;
        } else if (u >= 7 && u <= 13) {
            out += '\\';
            out += names[u - 7];
        } else {
            const char* digits = "0123456789abcdef";
            out += "\\x";
            out += digits[u >> 4];
            out += digits[u & 15];
        }
    }
    return out;
}

void script_exit(int status, const char* fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    const std::string message = formatted(fmt, ap);
    va_end(ap);
    hand_over_on_helper(message, status, false);
    progress_end();
    remove_run_files(); // a failed run leaves no temporary file and no folder it made
    for (std::FILE*& f : st.fp) {
        if (f != nullptr) std::fclose(f);
        f = nullptr;
    }
    std::fflush(stdout);
    zfprint(stderr, "zentri: %s\n", escaped(message).c_str());
    std::exit(status);
}

void script_warning(const char* fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    const std::string message = formatted(fmt, ap);
    va_end(ap);
    zfprint(stderr, "zentri: warning: %s\n", escaped(message).c_str());
}
