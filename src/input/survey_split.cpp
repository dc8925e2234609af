#include "input/survey_split.h"
#include "input/float_field.h"
#include "run/analysis_state.h"

#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr std::size_t window_bytes = std::size_t{1} << 20; // 1 MiB
constexpr std::ptrdiff_t near_end = 256; // closer to the end, a number may go on past it

long long split_threshold = 4LL << 20;
std::thread counter;
second_half result;

// The second thread's own view of the record, read with pread so the first
// half's stream and its position are left alone. A 0 byte follows the bytes read.
struct window {
    int fd;
    char text[window_bytes + 1];
    long long base;  // record offset of text[0]
    std::size_t end; // bytes held
    bool at_eof;     // the file has no more
};
window view;

// Keeps text[keep, end) and reads on; returns the new position of keep.
std::size_t read_on(std::size_t keep)
{
    const std::size_t kept = view.end - keep;
    std::memmove(view.text, view.text + keep, kept);
    view.base += static_cast<long long>(keep);
    const ssize_t got = pread(view.fd, view.text + kept, window_bytes - kept,
                              view.base + static_cast<long long>(kept));
    view.end = kept + (got > 0 ? static_cast<std::size_t>(got) : 0);
    view.text[view.end] = '\0';
    view.at_eof = got <= 0;
    return 0;
}

// True when white space ends the text from p on before the bytes held end.
bool complete_number_at(const char* p)
{
    const char* end = view.text + view.end;
    if (view.at_eof || end - p >= near_end) return true;
    for (; p < end; ++p)
        if (class_of(*p) & space_class) return true;
    return false;
}

// The second thread: counts the run of quick numbers from the split on.
void count_run(long long split)
{
    result.tokens = 0;
    view.base = split;
    view.end = 0;
    std::size_t pos = read_on(0);
    auto offset = [](std::size_t at) { return view.base + static_cast<long long>(at); };
    // Past the number the split may fall into: the run starts after white space.
    while (pos < view.end && !(class_of(view.text[pos]) & space_class)) ++pos;
    if (pos == view.end) return;
    std::size_t space = pos; // where the white space before the next number starts
    for (;;) {
        while (class_of(view.text[pos]) & space_class) ++pos;
        const bool at_end = pos == view.end;
        if (at_end && view.at_eof) return;
        if (at_end || !complete_number_at(view.text + pos)) {
            if (space == 0) return; // a number as long as the window
            pos -= space;
            space = read_on(space);
            continue;
        }
        const char* p = view.text + pos;
        double value;
        if (!quick_number(p, value)) return;
        const std::uint64_t i = result.tokens++;
        if (i < seam_tokens) result.space_before[i] = offset(space);
        result.start[i % tail_tokens] = offset(pos);
        pos = space = static_cast<std::size_t>(p - view.text);
    }
}

} // namespace

long long start_second_half()
{
    struct stat info;
    std::FILE* f = st.fp[1];
    if (f == nullptr || fstat(fileno(f), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size < split_threshold)
        return -1;
    view.fd = fileno(f);
    const long long split = info.st_size / 2;
    counter = std::thread(count_run, split);
    return split;
}

const second_half& finish_second_half()
{
    counter.join();
    return result;
}

long long survey_split_threshold()
{
    return split_threshold;
}

void set_survey_split_threshold(long long bytes)
{
    split_threshold = bytes;
}
