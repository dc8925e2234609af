// A place in the record told the way a person finds it in the file: its line
// and the text found there. Used on the rare paths that report a record the
// survey could not read to its end or that holds unusable values.
#pragma once

constexpr int place_text_bytes = 40; // bytes of the record shown at most

struct record_place {
    bool found;                          // text other than white space follows the offset
    long line;                           // 1-based line of the first byte of that text
    char text[4 * place_text_bytes + 1]; // that text to the end of its line, control bytes escaped
};

// Looks past white space from the record offset on for the next text of the
// input in stream slot 1. Line ends are "\n", "\r\n" and a lone "\r". Reads the
// file with pread, so the stream and its position are left as they were.
record_place find_record_place(long long offset);

// How the line of a place is counted: settings that tests change and restore
// themselves (the tests' reset leaves them, as a test may reset between runs).
struct line_count_state {
    long long split_bytes = 4LL << 20; // line counts of this many bytes or more run in two halves
    bool vector_allowed = true;        // false: the plain loop even where SSE2 runs (tests compare)
};
extern line_count_state line_count;

// For tests: line counts over at least this many bytes run in two halves at
// once (default 4 MiB).
void set_line_count_split(long long bytes);

// The 1-based line of the byte just before the record offset: the line of a
// pair whose last byte a read has just taken. Reads the file with pread.
long record_line(long long offset);
