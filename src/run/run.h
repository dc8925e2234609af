// Run control: the driver of a run and its console dialogue.
#pragma once

// Runs the whole program: banner, dialogue, survey, segment loop, output, key wait.
[[noreturn]] void run_driver();

// Prints the banner and clears the buffers.
void start_run();

// Asks for the input file, opens it, and asks the quantity and the unit.
void input_dialogue();

// Asks for the samples per segment until a power of two from 2 to 65536 is given.
void segment_length_dialogue();

// Asks for mean removal and the window.
void choices_dialogue();

// Reads, conditions, transforms and accumulates segments until the record ends.
void segment_loop();

// Prints message (it may be empty) and ends the process with exit status 1.
[[noreturn]] void end_run(const char* message);

// Prints "\n Input Error" and ends the process with exit status 1.
[[noreturn]] void input_error();
