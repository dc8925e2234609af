// The wait for one key press at the end of a run.
#pragma once

#include <termios.h>

// What the wait keeps to put the terminal back.
struct key_wait_state {
    termios saved_terminal; // the terminal's settings before the wait, restored on any way out
};

// The one key wait of the process.
extern key_wait_state key_wait;

// On a terminal: one key, without echo and without Enter, ignoring what was
// typed before; Ctrl-C counts as a key. Otherwise: one byte of standard input,
// or nothing at its end.
void wait_for_key();

// Forgets the saved settings: the start-up state (the tests' reset).
void reset_key_wait();
