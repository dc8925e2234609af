// A one-line progress bar on standard error, drawn only when standard error is
// a terminal: "segment k of N" and a percentage, redrawn at most ten times a
// second, and cleared when the run ends.
#pragma once

// Starts a bar for total segments; does nothing unless standard error is a terminal.
void progress_begin(unsigned long total);

// Shows that done segments are finished (cheap when no bar is drawn).
void progress_show(unsigned long done);

// Clears the bar from the terminal line; the bar is gone afterwards.
void progress_end();
