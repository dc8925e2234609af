// The scripted run: zentri [OPTIONS] RECORD, with no dialogue.
#pragma once

// Runs the program driven by its command line: no dialogue, the choices from
// the options, errors as one line on standard error, exit status 0, 1 or 2,
// or 3 when the PSD is outside the tolerance of a test profile.
[[noreturn]] void scripted_run(int argc, char** argv);
