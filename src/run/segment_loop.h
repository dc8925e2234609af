// The segment loop of a one-channel record: read, condition, transform and
// accumulate each segment.
#pragma once

// Reads, conditions, transforms and accumulates segments until the record ends.
void segment_loop();

// Reads the next segment (the first while nave is 0), then conditions and
// transforms it into psd; false, with nothing transformed, when the record has ended.
bool segment_step();

// Ends a segment pass: warns when the record grew after the survey counted it.
void end_segment_pass();
