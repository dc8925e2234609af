// Run control: the driver of a run and its console dialogue.
#pragma once

// Runs the whole program: banner, dialogue, survey, segment loop, output, key wait.
[[noreturn]] void run_driver();

// Runs the program driven by its command line: no dialogue, the choices from
// the options, errors as one line on standard error, exit status 0, 1 or 2.
[[noreturn]] void scripted_run(int argc, char** argv);

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

// Reads the next segment (the first while nave is 0), then conditions and
// transforms it into psd; false, with nothing transformed, when the record has ended.
bool segment_step();

// The segment loop of a record of several channels (st.channels of them): each
// segment is read from the file once and transformed channel by channel, each
// channel's overlap and psd swapped through the record's own.
void channel_segment_loop();

// Puts the accumulated psd of the channel into st.psd, for the output stage.
void select_channel_results(int channel);

// Prints the formatted message and ends the process with exit status 1; in the
// scripted run the message goes to standard error as one line instead.
[[noreturn]] void end_run(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Prints a warning that does not stop the run: on the console in the dialogue,
// as one line on standard error in the scripted run.
void run_warning(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Opens the record at path into stream slot 1 without waiting on a
// pipe that has no writer. Returns 0, an errno value, or not_regular_file for a
// folder, pipe or device, which cannot be read twice.
int open_record(const char* path);
constexpr int not_regular_file = -1;

// Prints "\n Input Error" and ends the process with exit status 1.
[[noreturn]] void input_error();
