// Reading a sound file through libsndfile: opening it by its content, its
// frames in blocks, the channels of a frame as the columns of a line.
#include "input/sound_reader.h"
#include "core/analysis_state.h"
#include "core/end_run.h"
#include "input/column_reader.h"
#include "input/pipe_peek.h"
#include "input/piped_bytes.h"
#include "input/record_reader.h"
#include "input/sound_magic.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t block_frames = 4096; // frames asked of libsndfile at a time
// Room for a whole segment of every channel besides a block, kept for the
// other channels while channel 0 reads in the segment loop.
constexpr std::size_t buffer_floats = (max_m + block_frames) * max_channels;

// The sound kinds read here; libsndfile knows others, which are read as text.
constexpr int read_kinds[] = {SF_FORMAT_WAV,  SF_FORMAT_WAVEX, SF_FORMAT_RF64, SF_FORMAT_W64,
                              SF_FORMAT_AIFF, SF_FORMAT_CAF,   SF_FORMAT_FLAC};

// The file as libsndfile's virtual I/O sees it: read with pread from an offset
// of its own, so the stream of slot 1 is never moved.
struct file_bytes {
    int fd = -1;
    sf_count_t length = 0;
    sf_count_t at = 0;
};

// Where the reader stands in the sound file. Frame k of the buffer is
// frames[k * info.channels ...], record frame base + k.
struct sound_state {
    file_bytes bytes;
    piped_bytes piped; // a piped sound file's bytes (fd -1 for a file)
    SNDFILE* file = nullptr;
    SF_INFO info{};
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
    char description[200] = {};
};
sound_state sd;
float frames[buffer_floats];

sf_count_t file_length(void* user)
{
    return static_cast<file_bytes*>(user)->length;
}

sf_count_t seek_bytes(sf_count_t offset, int whence, void* user)
{
    file_bytes& b = *static_cast<file_bytes*>(user);
    const sf_count_t from = whence == SEEK_CUR ? b.at : whence == SEEK_END ? b.length : 0;
    if (from + offset < 0) return -1;
    b.at = from + offset;
    return b.at;
}

sf_count_t read_bytes(void* out, sf_count_t count, void* user)
{
    file_bytes& b = *static_cast<file_bytes*>(user);
    sf_count_t got = 0;
    while (got < count) {
        const ssize_t n = pread(b.fd, static_cast<char*>(out) + got,
                                static_cast<std::size_t>(count - got), b.at + got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += n;
    }
    b.at += got;
    return got;
}

sf_count_t write_bytes(const void* /*data*/, sf_count_t /*count*/, void* /*user*/)
{
    return 0;
}

sf_count_t tell_bytes(void* user)
{
    return static_cast<file_bytes*>(user)->at;
}

SF_VIRTUAL_IO file_io{file_length, seek_bytes, read_bytes, write_bytes, tell_bytes};

// True when libsndfile opened the file as one of the kinds read here.
bool read_here(int format)
{
    return std::any_of(std::begin(read_kinds), std::end(read_kinds),
                       [format](int kind) { return (format & SF_FORMAT_TYPEMASK) == kind; });
}

// libsndfile's name of a major format or of a sample encoding.
const char* format_name(int format)
{
    SF_FORMAT_INFO about{format, nullptr, nullptr};
    if (sf_command(nullptr, SFC_GET_FORMAT_INFO, &about, sizeof about) != 0 ||
        about.name == nullptr)
        return "unknown";
    return about.name;
}

// Ends the run at a sample of the first pass that is not a finite number.
void check_finite(float sample, int channel)
{
    if (std::isfinite(sample)) return;
    end_run("\n\n Error: sample %lld of channel %d of the sound file is not a finite number. \n",
            sd.base + static_cast<long long>(sd.next) + 1, channel + 1);
}

// Ends the run at a piped sound file that libsndfile cannot read front to back.
[[noreturn]] void refuse_piped_kind(const char* kind, const char* why)
{
    end_run("\n\n Error: the piped record is a %s file that cannot be read from a pipe (%s);"
            " give the file's path. \n",
            kind, why);
}

// Frames of the buffer from `next` on that this pass may still give.
std::size_t frames_left()
{
    const std::size_t held = sd.held - sd.next;
    if (sd.limit < 0) return held;
    const long long allowed = sd.limit - sd.base - static_cast<long long>(sd.next);
    return std::min(held, static_cast<std::size_t>(std::max(allowed, 0LL)));
}

// Reads the next block of frames behind those kept: the frames from the
// segment's mark on while channel 0 reads in the segment loop, else from
// `next` on. False when libsndfile has no more.
[[gnu::noinline]] bool read_block()
{
    if (sd.ended) return false;
    const std::size_t channels = static_cast<std::size_t>(sd.info.channels);
    const std::size_t keep = sd.channel == 0 ? sd.mark : sd.next;
    const std::size_t kept = sd.held - keep;
    std::copy(frames + keep * channels, frames + sd.held * channels, frames);
    sd.base += static_cast<long long>(keep);
    sd.held = kept;
    sd.next -= keep;
    sd.mark -= std::min(sd.mark, keep);
    const std::size_t room = buffer_floats / channels - kept;
    const sf_count_t got = sf_readf_float(sd.file, frames + kept * channels,
                                          static_cast<sf_count_t>(std::min(room, block_frames)));
    if (got <= 0) {
        if (piped_position_lost(sd.piped)) // libsndfile went back past what a pipe gives
            refuse_piped_kind(format_name(sd.info.format & SF_FORMAT_TYPEMASK),
                              "it seeks back past its samples");
        sd.ended = true;
        return false;
    }
    sd.held += static_cast<std::size_t>(got);
    return true;
}

// Makes frame `next` available; false after the last frame of the pass.
bool fetch_frame()
{
    if (sd.next < sd.held) return frames_left() > 0;
    return (sd.limit < 0 || sd.base + static_cast<long long>(sd.next) < sd.limit) && read_block();
}

// The time of frame `next`: its number over the rate, as the column reader makes it.
double frame_time()
{
    return static_cast<double>(sd.base + static_cast<long long>(sd.next)) / st.rate;
}

// The sample of the read channel c (0 for the first) of frame `next`.
float sample_of(std::size_t frame, int c)
{
    return frames[frame * static_cast<std::size_t>(sd.info.channels) +
                  static_cast<std::size_t>(st.column - 1 + c)];
}

// Checks the read channel's samples of the next frames of the buffer, in the
// first pass, and counts them.
void check_block(std::size_t frames_read)
{
    for (std::size_t k = 0; k < frames_read; ++k) {
        const float sample = sample_of(sd.next + k, 0);
        if (std::isfinite(sample)) continue;
        sd.next += k; // the message names this frame
        check_finite(sample, st.column - 1);
    }
    sd.counted += static_cast<long long>(frames_read);
}

// Checks and sums each channel's sample of frame `next` in the first pass.
void check_and_sum_channels()
{
    for (int c = 0; c < st.channels && sd.first_pass; ++c) {
        const float sample = sample_of(sd.next, c);
        check_finite(sample, st.column - 1 + c);
        sd.sum[c] += sample;
        sd.sum_sq[c] += static_cast<double>(sample) * sample;
    }
}

// The sample of largest magnitude of the frame's channels (the one that may
// overflow first), each channel checked and summed in the first pass.
float every_channel()
{
    check_and_sum_channels();
    float largest = 0.f;
    for (int c = 0; c < st.channels; ++c) {
        const float sample = sample_of(sd.next, c);
        if (c == 0 || std::fabs(sample) > std::fabs(largest)) largest = sample;
    }
    return largest;
}

// Reads the next frame: its time, and the amplitude of the channel, or of
// channel 0 in the segment loop, or with several channels every_channel().
template <class T> int read_frame(double* time, T* amplitude)
{
    if (!fetch_frame()) return EOF;
    *time = frame_time();
    if (st.channels > 0 && sd.channel < 0) {
        *amplitude = every_channel();
    } else if (st.channels > 0) {
        check_and_sum_channels(); // channel 0 of a single pass: every channel's first reading
        *amplitude = sample_of(sd.next, 0);
    } else {
        const float sample = sample_of(sd.next, 0);
        if (sd.first_pass) check_finite(sample, st.column - 1);
        *amplitude = sample;
    }
    ++sd.next;
    sd.counted += sd.first_pass;
    return 2;
}

// A later channel in the segment loop: the next frame channel 0 read.
int give_back(double* time, float* amplitude)
{
    if (sd.given == sd.next) return EOF;
    *time = static_cast<double>(sd.base + static_cast<long long>(sd.given)) / st.rate;
    *amplitude = sample_of(sd.given++, sd.channel);
    return 2;
}

// Ends the run when the record starts as a sound file that libsndfile cannot
// open: its header is invalid, and its bytes are no text either.
void refuse_invalid_header()
{
    unsigned char head[sound_magic_bytes] = {};
    const ssize_t n = pread(sd.bytes.fd, head, sizeof head, 0);
    const char* kind = sound_magic_kind(head, n > 0 ? static_cast<std::size_t>(n) : 0);
    if (kind == nullptr) return;
    end_run("\n\n Error: the record starts as a %s file, but its sound header is invalid (%s). \n",
            kind, sf_strerror(nullptr));
}

// Opens a piped record through libsndfile when its first bytes announce a
// sound file, read front to back; a kind that needs seeking is refused. Any
// other pipe is left to the text readers with its bytes untouched.
bool open_piped_sound()
{
    unsigned char head[sound_magic_bytes] = {};
    const int fd = fileno(st.fp[1]);
    const char* kind = sound_magic_kind(head, peek_pipe(fd, head, sizeof head));
    if (kind == nullptr) return false;
    sd.piped.fd = fd;
    sd.file = sf_open_virtual(&piped_io, SFM_READ, &sd.info, &sd.piped);
    if (sd.file == nullptr) refuse_piped_kind(kind, sf_strerror(nullptr));
    if (piped_position_lost(sd.piped)) refuse_piped_kind(kind, "its header lies past its samples");
    if (!read_here(sd.info.format) || sd.info.channels <= 0 || sd.info.samplerate <= 0)
        refuse_piped_kind(kind, "not a kind read here");
    st.sound = true;
    return true;
}

// Opens the record as a sound file when it is one (open_sound_record()).
bool open_sound_file()
{
    st.sound = false;
    close_sound_record();
    struct stat info {};
    if (st.fp[1] == nullptr || fstat(fileno(st.fp[1]), &info) != 0) return false;
    sd = sound_state{};
    if (S_ISFIFO(info.st_mode)) return open_piped_sound();
    sd.bytes = {fileno(st.fp[1]), static_cast<sf_count_t>(info.st_size), 0};
    sd.file = sf_open_virtual(&file_io, SFM_READ, &sd.info, &sd.bytes);
    if (sd.file != nullptr && read_here(sd.info.format) && sd.info.channels > 0 &&
        sd.info.samplerate > 0) {
        st.sound = true;
        return true;
    }
    if (sd.file == nullptr) refuse_invalid_header();
    if (sd.file != nullptr)
        run_warning("\n Warning: the record opens as a sound file of a kind not read here (%s);"
                    " it is read as text. \n",
                    format_name(sd.info.format & SF_FORMAT_TYPEMASK));
    close_sound_record();
    return false;
}

} // namespace

bool open_sound_record()
{
    const bool sound = open_sound_file();
    choose_record_reader();
    return sound;
}

void close_sound_record()
{
    if (sd.file != nullptr) sf_close(sd.file);
    sd.file = nullptr;
}

void sound_layout(bool every_column)
{
    st.rate = sd.info.samplerate;
    const int channels = sd.info.channels;
    if (every_column) {
        st.column = 1;
        st.channels = channels;
        if (channels > max_channels)
            end_run("\n\n Error: --columns all: the sound file has %d channels; from 1 to %d can be"
                    " read at once. \n",
                    channels, max_channels);
    } else if (st.column == 0) {
        st.column = 1;
    }
    if (st.column > channels)
        end_run("\n\n Error: --column %d: the sound file has only %d channel%s. \n", st.column,
                channels, channels == 1 ? "" : "s");
    std::snprintf(sd.description, sizeof sd.description, "%s, %s, %d channel%s",
                  format_name(sd.info.format & SF_FORMAT_TYPEMASK),
                  format_name(sd.info.format & SF_FORMAT_SUBMASK), channels,
                  channels == 1 ? "" : "s");
}

const char* sound_description()
{
    return sd.description;
}

namespace {

int sound_scan_survey_pair(double* time, double* amplitude)
{
    return read_frame(time, amplitude);
}

int sound_scan_segment_pair(double* time, float* amplitude)
{
    if (sd.channel > 0) return give_back(time, amplitude);
    return read_frame(time, amplitude);
}

std::uint32_t sound_scan_segment_pairs(double* time, float* amplitude, signed char* result,
                                       std::uint32_t n)
{
    // Frame by frame for several channels, and in a survey's first pass, which
    // checks and sums them; a block at a time for one channel, which a single
    // pass checks here as it copies.
    if ((sd.first_pass && !st.one_pass) || sd.channel >= 0 || st.channels > 0)
        return scan_pairs_with(sound_scan_segment_pair, time, amplitude, result, n);
    const std::size_t stride = static_cast<std::size_t>(sd.info.channels);
    std::uint32_t i = 0;
    while (i < n) {
        if (!fetch_frame()) {
            result[i++] = EOF;
            break;
        }
        const std::size_t take = std::min<std::size_t>(n - i, frames_left());
        const float* sample = frames + sd.next * stride + static_cast<std::size_t>(st.column - 1);
        const long long first = sd.base + static_cast<long long>(sd.next);
        for (std::size_t k = 0; k < take; ++k) {
            time[i + k] = static_cast<double>(first + static_cast<long long>(k)) / st.rate;
            amplitude[i + k] = sample[k * stride];
            result[i + k] = 2;
        }
        if (sd.first_pass) check_block(take);
        sd.next += take;
        i += static_cast<std::uint32_t>(take);
    }
    return i;
}

void sound_select_channel(int channel)
{
    sd.channel = channel;
    if (channel == 0) sd.mark = sd.next;
    sd.given = sd.mark;
}

void sound_channel_sums(int channel, double& sum, double& sum_sq)
{
    sum = sd.sum[channel];
    sum_sq = sd.sum_sq[channel];
}

void sound_rewind_record()
{
    if (sd.first_pass && !sd.ended && sd.counted > 0) {
        sd.limit = sd.counted;
        run_warning("\n Warning: the sound file holds more than the %lld frames counted; the rest"
                    " of the file is not used. \n",
                    sd.counted);
    }
    sd.first_pass = false;
    sf_seek(sd.file, 0, SEEK_SET);
    sd.held = sd.next = sd.mark = sd.given = 0;
    sd.base = 0;
    sd.ended = false;
    sd.channel = -1;
}

long long sound_record_offset()
{
    return sd.bytes.length;
}

} // namespace

const record_reader sound_reader{
    sound_scan_survey_pair, sound_scan_segment_pair, sound_scan_segment_pairs, sound_rewind_record,
    sound_record_offset,    sound_select_channel,    sound_channel_sums,       close_sound_record};
