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

// Reads the next segment (the first while nave is 0), feeds its new samples to
// the per-sample work and hands it to the transforms, whose power goes into psd
// (channel -1) or the channel's store; false, with nothing handed over, when the
// record has ended.
bool segment_step(int channel);

// Ends a segment pass: warns when the record grew after the survey counted it.
void end_segment_pass();

// The segment loop of a record of several channels (st.channels of them): each
// segment is read from the file once and transformed channel by channel, each
// channel's overlap and psd swapped through the record's own.
void channel_segment_loop();
