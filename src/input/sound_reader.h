// The sound-file reader of scripted runs: a record that libsndfile opens by its
// content (WAV, WAVEX, RF64, W64, AIFF, CAF or FLAC) is read through it. Its
// channels are the columns: channel st.column (from 1), or st.channels of them
// from there on (--columns all); time i is i / the header's rate. Samples are
// libsndfile's floats: PCM scaled to +-1.0 at full scale, float data as stored.
// The reads serve the same calls as the column reader (column_reader.h).
#pragma once

#include "input/record_reader.h"

// Opens the record of stream slot 1 through libsndfile when it is a sound file
// of a kind read here, and sets st.sound. The file is read with pread, so the
// stream stays at its start for the text readers when it is not one.
bool open_sound_record();

// Closes the sound file, if one is open.
void close_sound_record();

// Sets the channel (st.column, 1 when none was asked), the channels of
// --columns all and st.rate from the header. Ends the run when the file has
// fewer channels than asked, or more than can be read at once.
void sound_layout(bool every_column);

// The file's kind in words, for the report: "WAV, 32-bit float, 3 channels".
const char* sound_description();

// The sound reader fills the reader interface (record_reader.h) as the
// column reader does: a read gives 2, or EOF after the last frame, and the
// first pass ends the run at a sample that is not a finite number. With
// several channels, reads without a channel give the sample of largest
// magnitude; in the segment loop channel 0 reads the file and the other
// channels get the same frames back. Rewinding goes back to the first frame:
// after the first pass, later passes end where it ended, and a warning tells
// of frames it left out. The offset is the file's length: a sound file has no
// text to point at past it. Closing closes the sound file, if one is open.
