// The scripted run's one-line messages on standard error and its exit.
#include "cli/script_messages.h"
#include "platform/console_format.h"
#include "platform/progress_bar.h"
#include "run/analysis_state.h"

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

void script_exit(int status, const char* fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    const std::string message = formatted(fmt, ap);
    va_end(ap);
    progress_end();
    for (std::FILE*& f : st.fp) {
        if (f != nullptr) std::fclose(f);
        f = nullptr;
    }
    std::fflush(stdout);
    zfprint(stderr, "zentri: %s\n", message.c_str());
    std::exit(status);
}

void script_warning(const char* fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    const std::string message = formatted(fmt, ap);
    va_end(ap);
    zfprint(stderr, "zentri: warning: %s\n", message.c_str());
}
