// The wait for one key press at the end of a run.
#pragma once

// On a terminal: one key, without echo and without Enter, ignoring what was
// typed before; Ctrl-C counts as a key. Otherwise: one byte of standard input,
// or nothing at its end.
void wait_for_key();
