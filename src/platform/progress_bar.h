// A one-line progress bar on standard error, drawn only when standard error is
// a terminal: the share of a file's bytes read with a percentage, or for a
// record without a known size (a pipe) the pairs read, redrawn at most ten
// times a second, and cleared when the run ends.
#pragma once

#include <cstddef>
#include <ctime>

// The bar between progress_begin and progress_end.
struct progress_bar_state {
    bool drawing;                   // a bar is on the terminal
    unsigned long long total_bytes; // bytes of the record, 0 for a count of pairs
    timespec last_drawn;            // when the bar was last drawn
    bool drawn_once;                // the bar has been drawn since progress_begin
    std::size_t line_chars;         // characters of the last drawing, to clear it
};

// The one progress bar of the process.
extern progress_bar_state progress_bar;

// Starts a bar for a record of total bytes, or a count of pairs for 0; does
// nothing unless standard error is a terminal.
void progress_begin(unsigned long long total);

// Shows the bytes read so far, or the pairs for a count (cheap when no bar is drawn).
void progress_show(unsigned long long done);

// Clears the bar from the terminal line; the bar is gone afterwards.
void progress_end();

// Forgets the bar without touching the terminal: its start-up state (the tests' reset).
void reset_progress_bar();
