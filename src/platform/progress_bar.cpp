// The progress bar on standard error: drawing, redrawing and clearing it.
#include "platform/progress_bar.h"
#include "platform/console_format.h"

#include <ctime>
#include <unistd.h>

progress_bar_state progress_bar{};

namespace {

constexpr long redraw_ns = 100000000; // at most ten drawings a second
constexpr int bar_width = 30;         // characters of the bar between its brackets

// Nanoseconds from a to b.
long long elapsed_ns(const timespec& a, const timespec& b)
{
    return (b.tv_sec - a.tv_sec) * 1000000000LL + (b.tv_nsec - a.tv_nsec);
}

// Writes text to standard error as it is, past the C library's buffers.
void put_stderr(const char* text, std::size_t len)
{
    while (len > 0) {
        const ssize_t n = write(STDERR_FILENO, text, len);
        if (n <= 0) return;
        text += n;
        len -= static_cast<std::size_t>(n);
    }
}

// Draws "\rzentri: [####      ]  37% read" over the previous drawing, or
// "\rzentri: 1200000 pairs read" for a count.
void draw(unsigned long long done)
{
    char line[160];
    std::size_t len = 0;
    if (progress_bar.total_bytes == 0) {
        len = zsprint(line, sizeof line, "\rzentri: %llu pairs read", done);
    } else {
        const double share =
            done < progress_bar.total_bytes
                ? static_cast<double>(done) / static_cast<double>(progress_bar.total_bytes)
                : 1.;
        const int filled = static_cast<int>(share * bar_width);
        char bar[bar_width + 1];
        for (int i = 0; i < bar_width; ++i) bar[i] = i < filled ? '#' : ' ';
        bar[bar_width] = '\0';
        len = zsprint(line, sizeof line, "\rzentri: [%s] %3d%% read", bar,
                      static_cast<int>(share * 100.));
    }
    progress_bar.line_chars = len;
    put_stderr(line, len);
}

} // namespace

void progress_begin(unsigned long long total)
{
    progress_bar.drawing = isatty(STDERR_FILENO) != 0;
    progress_bar.total_bytes = total;
    progress_bar.drawn_once = false;
}

void progress_show(unsigned long long done)
{
    if (!progress_bar.drawing) return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    if (progress_bar.drawn_once && elapsed_ns(progress_bar.last_drawn, now) < redraw_ns) return;
    progress_bar.last_drawn = now;
    progress_bar.drawn_once = true;
    draw(done);
}

void progress_end()
{
    if (!progress_bar.drawing) return;
    progress_bar.drawing = false;
    char blank[160];
    std::size_t n = 0;
    blank[n++] = '\r';
    while (n < progress_bar.line_chars && n + 2 < sizeof blank) blank[n++] = ' ';
    blank[n++] = '\r';
    put_stderr(blank, n);
}

void reset_progress_bar()
{
    progress_bar = progress_bar_state{};
}
