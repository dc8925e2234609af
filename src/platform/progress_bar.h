// A one-line progress bar on standard error, drawn only when standard error is
// a terminal: the share of a file's bytes read with a percentage, or for a
// record without a known size (a pipe) the pairs read, redrawn at most ten
// times a second, and cleared when the run ends.
#pragma once

// Starts a bar for a record of total bytes, or a count of pairs for 0; does
// nothing unless standard error is a terminal.
void progress_begin(unsigned long long total);

// Shows the bytes read so far, or the pairs for a count (cheap when no bar is drawn).
void progress_show(unsigned long long done);

// Clears the bar from the terminal line; the bar is gone afterwards.
void progress_end();
