// The sound-file reader of scripted runs: a record that libsndfile opens by its
// content (WAV, WAVEX, RF64, W64, AIFF, CAF or FLAC) is read through it. Its
// channels are the columns: channel st.column (from 1), or st.channels of them
// from there on (--columns all); time i is i / the header's rate. Samples are
// libsndfile's floats: PCM scaled to +-1.0 at full scale, float data as stored.
// The reads serve the same calls as the column reader (column_reader.h).
#pragma once

#include "core/analysis_state.h"
#include "input/column_reader.h"
#include "input/piped_bytes.h"
#include "input/record_reader.h"

#include <cstddef>
#include <sndfile.h>

// The file as libsndfile's virtual I/O sees it: read with pread from an offset
// of its own, so the stream of slot 1 is never moved.
struct file_bytes {
    int fd = -1;           // the record's descriptor
    sf_count_t length = 0; // the file's size
    sf_count_t at = 0;     // libsndfile's position
};

// Where the reader stands in the sound file. Frame k of the buffer is
// frames[k * info.channels ...], record frame base + k.
struct sound_state {
    file_bytes bytes;                 // a sound file's bytes
    piped_bytes piped;                // a piped sound file's bytes (fd -1 for a file)
    SNDFILE* file = nullptr;          // the open sound file, or none
    SF_INFO info{};                   // its header
    std::size_t held = 0;             // frames in the buffer
    std::size_t next = 0;             // next frame read from the file
    std::size_t mark = 0;             // first frame of the segment channel 0 is reading, kept
    std::size_t given = 0;            // next frame given back to a later channel
    long long base = 0;               // record frame of buffer frame 0
    long long limit = -1;             // frames later passes give, or -1 for all
    bool ended = false;               // libsndfile has given its last frame
    bool first_pass = true;           // no rewind since the file was opened
    long long counted = 0;            // frames given in the first pass
    int channel = -1;                 // channel whose reads follow in the segment loop, or -1
    double sum[max_channels] = {};    // each channel's sum of amplitudes in the first pass
    double sum_sq[max_channels] = {}; // and of their squares
    char description[200] = {};       // the file's kind in words
};
extern sound_state sound_read;

constexpr std::size_t block_frames = 4096; // frames asked of libsndfile at a time
// Room for a whole segment of every channel besides a block, kept for the
// other channels while channel 0 reads in the segment loop.
constexpr std::size_t buffer_floats = (max_m + block_frames) * max_channels;

// The frames read from the file, every channel's sample of a frame together.
struct sound_frame_buffer {
    float samples[buffer_floats]; // frame k at samples[k * channels ...]
};
extern sound_frame_buffer sound_frames;

// For tests: the file closed and the reader back to its start-up state.
void reset_sound_reader();

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
