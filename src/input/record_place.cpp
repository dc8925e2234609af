// Finding a place of the record by its line and text: the line count before an
// offset (two threads for large files, SSE2 on x86-64) and the text shown there.
#include "input/record_place.h"
#include "core/analysis_state.h"
#include "platform/vector_paths.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <thread>
#include <unistd.h>
#if ZENTRI_X86_VECTORS
#include <emmintrin.h>
#endif

line_count_state line_count{};

namespace {

// White space as formatted input skips it.
bool is_blank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

#if ZENTRI_X86_VECTORS
// The '\n' bytes of a block, sixteen at a time: each byte lane counts up to
// 255 matches before the lanes are summed.
long sse2_count_newlines(const char* block, std::size_t n)
{
    const __m128i newline = _mm_set1_epi8('\n');
    long count = 0;
    std::size_t i = 0;
    while (n - i >= 16) {
        const std::size_t stop = i + std::min<std::size_t>((n - i) / 16, 255) * 16;
        __m128i lanes = _mm_setzero_si128();
        for (; i < stop; i += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + i));
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(bytes, newline));
        }
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        count += _mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4);
    }
    return count + static_cast<long>(std::count(block + i, block + n, '\n'));
}
#endif

// The '\n' bytes of a block, byte by byte.
long plain_count_newlines(const char* block, std::size_t n)
{
    return static_cast<long>(std::count(block, block + n, '\n'));
}

// The '\n' bytes of a block, sixteen at a time where the build has SSE2 and
// the switch allows it.
long count_newlines(const char* block, std::size_t n)
{
#if ZENTRI_X86_VECTORS
    if (line_count.vector_allowed) return sse2_count_newlines(block, n);
#endif
    return plain_count_newlines(block, n);
}

// Adds the line ends of a block wholly before the offset: counted quickly
// when it holds no '\r' and follows no '\r', else byte by byte.
void count_line_ends(const char* block, std::size_t n, bool& after_cr, long& line)
{
    if (!after_cr && std::memchr(block, '\r', n) == nullptr) {
        line += count_newlines(block, n);
        return;
    }
    for (std::size_t i = 0; i < n; ++i) {
        if ((after_cr && block[i] != '\n') || block[i] == '\n') ++line;
        after_cr = block[i] == '\r';
    }
}

constexpr long long block_bytes = 1 << 16;

// Line ends in bytes [from, to) of the file, after_cr telling whether the byte
// before from is '\r'; leaves in after_cr whether the last byte counted is.
long count_lines(int fd, long long from, long long to, bool& after_cr)
{
    char block[block_bytes];
    long line = 0;
    for (long long at = from; at < to;) {
        const ssize_t got =
            pread(fd, block, static_cast<std::size_t>(std::min(block_bytes, to - at)), at);
        if (got <= 0) break;
        count_line_ends(block, static_cast<std::size_t>(got), after_cr, line);
        at += got;
    }
    return line;
}

// Line ends in bytes [0, to) of the file; large files are counted in two
// halves at once, the second told whether the byte before it is '\r'.
long count_lines_before(int fd, long long to, bool& after_cr)
{
    after_cr = false;
    if (to < line_count.split_bytes) return count_lines(fd, 0, to, after_cr);
    const long long mid = to / 2;
    char before = 0;
    bool second_after_cr = pread(fd, &before, 1, mid - 1) == 1 && before == '\r';
    long second = 0;
    std::thread counter([&] { second = count_lines(fd, mid, to, second_after_cr); });
    const long first = count_lines(fd, 0, mid, after_cr);
    counter.join();
    after_cr = second_after_cr;
    return first + second;
}

// Finds the first byte at or after offset that is not white space and adds the
// line ends before it to line; returns -1 when the file has none.
long long locate_text(int fd, long long offset, long& line)
{
    char block[block_bytes];
    bool after_cr = false; // the byte before was '\r'
    long long at = offset / block_bytes * block_bytes;
    line += count_lines_before(fd, at, after_cr);
    for (;;) {
        const ssize_t got = pread(fd, block, sizeof block, at);
        if (got <= 0) return -1;
        for (ssize_t i = 0; i < got; ++i, ++at) {
            const char c = block[i];
            if (after_cr && c != '\n') ++line;
            if (at >= offset && !is_blank(c)) return at;
            if (c == '\n') ++line;
            after_cr = c == '\r';
        }
    }
}

// Appends byte c to the shown text: printable as it is, a tab as \t, others as \xHH.
void show_byte(record_place& place, int& len, unsigned char c)
{
    static const char hex[] = "0123456789abcdef";
    if (c >= 0x20 && c < 0x7f) {
        place.text[len++] = static_cast<char>(c);
    } else if (c == '\t') {
        place.text[len++] = '\\';
        place.text[len++] = 't';
    } else {
        place.text[len++] = '\\';
        place.text[len++] = 'x';
        place.text[len++] = hex[c >> 4];
        place.text[len++] = hex[c & 15];
    }
}

} // namespace

record_place find_record_place(long long offset)
{
    record_place place{false, 1, {}};
    const int fd = st.fp[1] != nullptr ? fileno(st.fp[1]) : -1;
    if (fd < 0) return place;
    const long long start = locate_text(fd, offset, place.line);
    if (start < 0) return place;
    place.found = true;
    char bytes[place_text_bytes];
    const ssize_t got = pread(fd, bytes, sizeof bytes, start);
    int len = 0;
    for (ssize_t i = 0; i < got && bytes[i] != '\n' && bytes[i] != '\r'; ++i)
        show_byte(place, len, static_cast<unsigned char>(bytes[i]));
    place.text[len] = '\0';
    return place;
}

void set_line_count_split(long long bytes)
{
    line_count.split_bytes = bytes;
}

long record_line(long long offset)
{
    const int fd = st.fp[1] != nullptr ? fileno(st.fp[1]) : -1;
    if (fd < 0 || offset < 1) return 1;
    bool after_cr = false;
    const long ends = count_lines_before(fd, offset - 1, after_cr);
    return 1 + ends + (after_cr ? 1 : 0); // a '\r' just before the byte ends a line too
}
