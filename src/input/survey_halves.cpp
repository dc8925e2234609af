// The two halves of the survey's count: finding the seam, the second half's
// thread, and joining its span to the first's.
#include "input/survey_halves.h"
#include "core/analysis_state.h"
#include "input/block_source.h"
#include "input/float_field.h"
#include "input/open_record.h"
#include "input/record_change.h"
#include "input/record_scanner.h"
#include "input/record_span.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <iterator>
#include <string>
#include <thread>
#include <unistd.h>

survey_halves_state survey_halves;

namespace {

constexpr long long seam_margin = 1LL << 20; // bytes before the seam where every pair is checked
constexpr std::uint32_t check_pairs = 1024;  // pairs between checks farther away

// Where the halves meet: the first half ends with the pair whose last byte is
// just before first_end; the second starts with the text at second_start.
struct seam {
    long long first_end;
    long long second_start;
};

// The second half: its span, where its first pair ended, and its stream.
struct second_half {
    record_span span{};
    long long first_pair_end = -1;
    std::FILE* stream = nullptr;
    std::atomic<bool> cancelled{false};
    std::thread thread;
};

// White space as the scanner skips it.
bool is_space(char c)
{
    return (class_of(c) & space_class) != 0;
}

// Finds the seam in the line end nearest after the middle of [from, size):
// false when there is none within the window (or no text around it).
bool find_seam(long long from, long long size, seam& s)
{
    char* const window = survey_halves.window;
    const long long middle = from + (size - from) / 2;
    const ssize_t got = pread(fileno(st.fp[1]), window, seam_window, middle);
    if (got <= 0) return false;
    const auto n = static_cast<std::size_t>(got);
    std::size_t line_end = 0;
    while (line_end < n && window[line_end] != '\n') ++line_end;
    std::size_t start = line_end;
    while (start < n && is_space(window[start])) ++start;
    if (start == n || line_end == 0) return false;
    std::size_t end = line_end;
    while (end > 0 && is_space(window[end - 1])) --end;
    if (end == 0) return false; // the text before the line end lies outside the window
    s = {middle + static_cast<long long>(end), middle + static_cast<long long>(start)};
    return true;
}

// Opens the record again as a stream of its own (the same file, another file
// position), at offset; nullptr when that cannot be done.
std::FILE* open_again_at(long long offset)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fileno(st.fp[1]));
    const int fd = open(self.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    std::FILE* f = fdopen(fd, "rb");
    if (f == nullptr) {
        close(fd);
        return nullptr;
    }
    if (fseeko(f, offset, SEEK_SET) != 0) {
        std::fclose(f);
        return nullptr;
    }
    return f;
}

// Counts from the scanner's position until the span stops counting, or, with
// a seam, until the offset reaches its first end (true when exactly there).
// Far from the seam the offset is looked at every check_pairs pairs only; a
// stretch of pairs longer than the margin may then pass the seam, and the
// halves are not joined.
bool count_until(record_span& r, long long first_end)
{
    std::uint32_t next_check = 0; // pairs counted when the offset is looked at next
    while (r.counting) {
        if (first_end >= 0 && r.ns >= next_check) {
            const long long at = fast_record_offset();
            if (at >= first_end) return at == first_end;
            next_check = r.ns + (first_end - at > seam_margin ? check_pairs : 0);
        }
        double t = 0.;
        double amplitude = 0.;
        const int result = fast_scan_survey_pair(&t, &amplitude);
        take_read(r, result, t, amplitude, [] { return fast_record_offset(); });
    }
    return false;
}

// The second half's thread: counts its part through its own block.
void count_second(second_half& h)
{
    fast_scan_use_block(&survey_halves.second_block);
    adopt_stream(survey_halves.second_block, h.stream);
    h.span.counting = true;
    while (h.span.counting && !h.cancelled.load(std::memory_order_relaxed)) {
        double t = 0.;
        double amplitude = 0.;
        const int result = fast_scan_survey_pair(&t, &amplitude);
        take_read(h.span, result, t, amplitude, [] { return fast_record_offset(); });
        if (h.span.ns == 1 && h.first_pair_end < 0) h.first_pair_end = fast_record_offset();
    }
    h.span.stop_offset = fast_record_offset();
    fast_scan_use_block(nullptr);
}

// Joins the second half's span to the first's, as one count over both reads them.
void join_spans(record_span& a, const second_half& h)
{
    const record_span& b = h.span;
    a.stop_result = b.stop_result;
    a.counting = false;
    if (!b.first_ok) return; // the first read after the seam ended the count
    if (!a.suspect && b.suspect) a.first_suspect = a.ns + b.first_suspect;
    a.suspect |= b.suspect;
    join_gaps(a.gaps, b.gaps, a.ns, h.first_pair_end);
    a.sum += b.sum;
    a.sum_sq += b.sum_sq;
    a.end = b.ns >= 2 ? b.end : b.start;
    a.ns += b.ns;
}

// True when the second half's count, ended, can stand for the rest of the
// first's, which reached the seam: the two stay under the count's limit.
bool joinable(const record_span& a, const second_half& h)
{
    const std::uint64_t pairs = std::uint64_t{a.ns} + h.span.ns;
    return pairs + 1 < pair_limit;
}

} // namespace

void count_record(record_span& r, bool halves)
{
    const long long from = fast_record_offset();
    const long long size = halves && record_is_file() ? record_file_bytes() : -1;
    seam s{-1, -1};
    second_half h;
    if (size - from >= survey_halves.split_bytes && find_seam(from, size, s))
        h.stream = open_again_at(s.second_start);
    if (h.stream == nullptr) {
        count_until(r, -1);
        r.stop_offset = fast_record_offset();
        return;
    }
    h.thread = std::thread(count_second, std::ref(h));
    const bool at_seam = count_until(r, s.first_end) && r.counting && r.first_ok;
    if (!at_seam) h.cancelled.store(true, std::memory_order_relaxed); // its count is of no use
    h.thread.join();
    std::fclose(h.stream);
    if (at_seam && joinable(r, h)) {
        join_spans(r, h);
        r.stop_offset = h.span.stop_offset;
        return;
    }
    count_until(r, -1); // the first half reads on alone
    r.stop_offset = fast_record_offset();
}

void set_survey_split(long long bytes)
{
    survey_halves.split_bytes = bytes > 0 ? bytes : default_split;
}

void reset_survey_halves()
{
    clear_block(survey_halves.second_block);
    std::fill(std::begin(survey_halves.window), std::end(survey_halves.window), '\0');
}
