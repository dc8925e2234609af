// The record read in large blocks, the one buffer code of both record readers
// (the fast scanner and the column reader): the bytes of the stream of slot 1
// from a record offset on, in a buffer of the reader's own, followed by a 0
// byte so that every scanning loop stops there without a bounds check.
#pragma once

#include "core/analysis_state.h"

#include <cstddef>
#include <cstdio>
#include <stdio_ext.h>

constexpr std::size_t block_bytes = std::size_t{1} << 20; // 1 MiB: the most a block holds

// A reader's block of the record and where it stands in it.
struct block_source {
    char text[block_bytes + 1] = {};    // bytes of the record from offset base on, then a 0
    std::FILE* stream = nullptr;        // the stream being read
    std::size_t pos = 0;                // next unread byte of text
    std::size_t end = 0;                // end of the bytes read into text
    long long base = 0;                 // record offset of text[0]
    bool at_eof = true;                 // the stream has given its last byte
    std::size_t capacity = block_bytes; // bytes text may hold
    std::size_t chunk = block_bytes;    // bytes asked of the stream at a time
};

// Starts reading a stream (that of slot 1 unless another is given) afresh
// from where it stands, at record offset ftello. The stream is made
// unbuffered, as the reader reads it in blocks of its own; a buffered stream
// is therefore one the reader has not seen.
void adopt_stream(block_source& b, std::FILE* stream = st.fp[1]);

// True while the stream of slot 1 is the one the block holds bytes of.
inline bool follows_slot_stream(const block_source& b)
{
    return st.fp[1] == b.stream && (b.stream == nullptr || __fbufsize(b.stream) == 1);
}

// Keeps text[keep, end) at the front of the buffer and appends the next bytes
// of the stream; notes the end of the record when the stream has none left.
void refill(block_source& b, std::size_t keep);

// Lets the block go of its stream and bytes; its window (capacity, chunk) stays.
void clear_block(block_source& b);
