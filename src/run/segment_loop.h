// The segment loop of a one-channel record: read, hand each segment to the
// transforms and add its power in segment order.
#pragma once

// Reads, conditions, transforms and accumulates segments until the record ends.
void segment_loop();

// Reads the next segment (the first while nave is 0), feeds its new samples to
// the per-sample work and hands it to the transforms, whose power goes into psd
// (channel -1) or the channel's store; false, with nothing handed over, when the
// record has ended.
bool segment_step(int channel);

// Ends a segment pass: warns when the record grew after the survey counted it.
void end_segment_pass();
