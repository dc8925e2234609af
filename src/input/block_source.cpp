// Reading the stream of slot 1 into a reader's block: adopting it and refilling.
#include "input/block_source.h"
#include "input/record_change.h"

#include <cstring>

void adopt_stream(block_source& b, std::FILE* stream)
{
    b.stream = stream;
    b.pos = b.end = 0;
    b.base = 0;
    b.at_eof = b.stream == nullptr;
    b.text[0] = '\0';
    if (b.stream == nullptr) return;
    std::setvbuf(b.stream, nullptr, _IONBF, 0);
    const long long at = ftello(b.stream);
    if (at > 0) b.base = at;
}

void refill(block_source& b, std::size_t keep)
{
    const std::size_t kept = b.end - keep;
    if (keep > 0) std::memmove(b.text, b.text + keep, kept);
    b.base += static_cast<long long>(keep);
    b.pos -= keep;
    b.end = kept;
    std::size_t want = b.capacity - kept;
    if (want > b.chunk) want = b.chunk;
    const std::size_t got = std::fread(b.text + kept, 1, want, b.stream);
    b.end += got;
    b.text[b.end] = '\0';
    if (got != 0) return;
    b.at_eof = true;
    if (b.stream == st.fp[1]) note_record_end(b.base + static_cast<long long>(b.end));
}

void clear_block(block_source& b)
{
    b.text[0] = '\0';
    b.stream = nullptr;
    b.pos = b.end = 0;
    b.base = 0;
    b.at_eof = true;
}
