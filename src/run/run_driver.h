// The interactive run from banner to key wait, and the start of every run.
#pragma once

// Runs the whole program: banner, dialogue, survey, segment loop, output, key wait.
[[noreturn]] void run_driver();

// Prints the banner and clears the buffers.
void start_run();
