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
#include <cstring>
#include <iterator>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

sound_state sound_read;
sound_frame_buffer sound_frames;

namespace {

// The sound kinds read here; libsndfile knows others, which are read as text.
constexpr int read_kinds[] = {SF_FORMAT_WAV,  SF_FORMAT_WAVEX, SF_FORMAT_RF64, SF_FORMAT_W64,
                              SF_FORMAT_AIFF, SF_FORMAT_CAF,   SF_FORMAT_FLAC};

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

const SF_VIRTUAL_IO file_io{file_length, seek_bytes, read_bytes, write_bytes, tell_bytes};

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
            sound_read.base + static_cast<long long>(sound_read.next) + 1, channel + 1);
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
    const std::size_t held = sound_read.held - sound_read.next;
    if (sound_read.limit < 0) return held;
    const long long allowed =
        sound_read.limit - sound_read.base - static_cast<long long>(sound_read.next);
    return std::min(held, static_cast<std::size_t>(std::max(allowed, 0LL)));
}

// Reads the next block of frames behind those kept: the frames from the
// segment's mark on while channel 0 reads in the segment loop, else from
// `next` on. False when libsndfile has no more.
[[gnu::noinline]] bool read_block()
{
    if (sound_read.ended) return false;
    const std::size_t channels = static_cast<std::size_t>(sound_read.info.channels);
    const std::size_t keep = sound_read.channel == 0 ? sound_read.mark : sound_read.next;
    const std::size_t kept = sound_read.held - keep;
    std::copy(sound_frames.samples + keep * channels,
              sound_frames.samples + sound_read.held * channels, sound_frames.samples);
    sound_read.base += static_cast<long long>(keep);
    sound_read.held = kept;
    sound_read.next -= keep;
    sound_read.mark -= std::min(sound_read.mark, keep);
    const std::size_t room = buffer_floats / channels - kept;
    const sf_count_t got = sf_readf_float(sound_read.file, sound_frames.samples + kept * channels,
                                          static_cast<sf_count_t>(std::min(room, block_frames)));
    if (got <= 0) {
        if (piped_position_lost(sound_read.piped)) // libsndfile went back past what a pipe gives
            refuse_piped_kind(format_name(sound_read.info.format & SF_FORMAT_TYPEMASK),
                              "it seeks back past its samples");
        sound_read.ended = true;
        return false;
    }
    sound_read.held += static_cast<std::size_t>(got);
    return true;
}

// Makes frame `next` available; false after the last frame of the pass.
bool fetch_frame()
{
    if (sound_read.next < sound_read.held) return frames_left() > 0;
    return (sound_read.limit < 0 ||
            sound_read.base + static_cast<long long>(sound_read.next) < sound_read.limit) &&
           read_block();
}

// The time of frame `next`: its number over the rate, as the column reader makes it.
double frame_time()
{
    return static_cast<double>(sound_read.base + static_cast<long long>(sound_read.next)) / st.rate;
}

// The sample of the read channel c (0 for the first) of frame `next`.
float sample_of(std::size_t frame, int c)
{
    return sound_frames.samples[frame * static_cast<std::size_t>(sound_read.info.channels) +
                                static_cast<std::size_t>(st.column - 1 + c)];
}

// Checks the read channel's samples of the next frames of the buffer, in the
// first pass, and counts them.
void check_block(std::size_t frames_read)
{
    for (std::size_t k = 0; k < frames_read; ++k) {
        const float sample = sample_of(sound_read.next + k, 0);
        if (std::isfinite(sample)) continue;
        sound_read.next += k; // the message names this frame
        check_finite(sample, st.column - 1);
    }
    sound_read.counted += static_cast<long long>(frames_read);
}

// Checks and sums each channel's sample of frame `next` in the first pass.
void check_and_sum_channels()
{
    for (int c = 0; c < st.channels && sound_read.first_pass; ++c) {
        const float sample = sample_of(sound_read.next, c);
        check_finite(sample, st.column - 1 + c);
        sound_read.sum[c] += sample;
        sound_read.sum_sq[c] += static_cast<double>(sample) * sample;
    }
}

// The sample of largest magnitude of the frame's channels (the one that may
// overflow first), each channel checked and summed in the first pass.
float every_channel()
{
    check_and_sum_channels();
    float largest = 0.f;
    for (int c = 0; c < st.channels; ++c) {
        const float sample = sample_of(sound_read.next, c);
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
    if (st.channels > 0 && sound_read.channel < 0) {
        *amplitude = every_channel();
    } else if (st.channels > 0) {
        check_and_sum_channels(); // channel 0 of a single pass: every channel's first reading
        *amplitude = sample_of(sound_read.next, 0);
    } else {
        const float sample = sample_of(sound_read.next, 0);
        if (sound_read.first_pass) check_finite(sample, st.column - 1);
        *amplitude = sample;
    }
    ++sound_read.next;
    sound_read.counted += sound_read.first_pass;
    return 2;
}

// A later channel in the segment loop: the next frame channel 0 read.
int give_back(double* time, float* amplitude)
{
    if (sound_read.given == sound_read.next) return EOF;
    *time =
        static_cast<double>(sound_read.base + static_cast<long long>(sound_read.given)) / st.rate;
    *amplitude = sample_of(sound_read.given++, sound_read.channel);
    return 2;
}

// Ends the run when the record starts as a sound file that libsndfile cannot
// open: its header is invalid, and its bytes are no text either.
void refuse_invalid_header()
{
    unsigned char head[sound_magic_bytes] = {};
    const ssize_t n = pread(sound_read.bytes.fd, head, sizeof head, 0);
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
    sound_read.piped.fd = fd;
    SF_VIRTUAL_IO calls = piped_io; // libsndfile takes the calls by address and copies them
    sound_read.file = sf_open_virtual(&calls, SFM_READ, &sound_read.info, &sound_read.piped);
    if (sound_read.file == nullptr) refuse_piped_kind(kind, sf_strerror(nullptr));
    if (piped_position_lost(sound_read.piped))
        refuse_piped_kind(kind, "its header lies past its samples");
    if (!read_here(sound_read.info.format) || sound_read.info.channels <= 0 ||
        sound_read.info.samplerate <= 0)
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
    sound_read = sound_state{};
    if (S_ISFIFO(info.st_mode)) return open_piped_sound();
    sound_read.bytes = {fileno(st.fp[1]), static_cast<sf_count_t>(info.st_size), 0};
    SF_VIRTUAL_IO calls = file_io; // libsndfile takes the calls by address and copies them
    sound_read.file = sf_open_virtual(&calls, SFM_READ, &sound_read.info, &sound_read.bytes);
    if (sound_read.file != nullptr && read_here(sound_read.info.format) &&
        sound_read.info.channels > 0 && sound_read.info.samplerate > 0) {
        st.sound = true;
        return true;
    }
    if (sound_read.file == nullptr) refuse_invalid_header();
    if (sound_read.file != nullptr)
        run_warning("\n Warning: the record opens as a sound file of a kind not read here (%s);"
                    " it is read as text. \n",
                    format_name(sound_read.info.format & SF_FORMAT_TYPEMASK));
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
    if (sound_read.file != nullptr) sf_close(sound_read.file);
    sound_read.file = nullptr;
}

void sound_layout(bool every_column)
{
    st.rate = sound_read.info.samplerate;
    const int channels = sound_read.info.channels;
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
    std::snprintf(sound_read.description, sizeof sound_read.description, "%s, %s, %d channel%s",
                  format_name(sound_read.info.format & SF_FORMAT_TYPEMASK),
                  format_name(sound_read.info.format & SF_FORMAT_SUBMASK), channels,
                  channels == 1 ? "" : "s");
}

const char* sound_description()
{
    return sound_read.description;
}

namespace {

int sound_scan_survey_pair(double* time, double* amplitude)
{
    return read_frame(time, amplitude);
}

int sound_scan_segment_pair(double* time, float* amplitude)
{
    if (sound_read.channel > 0) return give_back(time, amplitude);
    return read_frame(time, amplitude);
}

// Writes the times of count frames from frame index first on, index / rate:
// the indexes are whole numbers below 2^53, so counting them up in double is
// exact and each time is the same quotient as from the index itself.
void synthesize_times(double* time, double first, std::size_t count)
{
    const double rate = st.rate;
    for (std::size_t k = 0; k < count; ++k) time[k] = (first + static_cast<double>(k)) / rate;
}

std::uint32_t sound_scan_segment_pairs(double* time, float* amplitude, signed char* result,
                                       std::uint32_t n)
{
    // Frame by frame for several channels, and in a survey's first pass, which
    // checks and sums them; a block at a time for one channel, which a single
    // pass checks here as it copies.
    if ((sound_read.first_pass && !st.one_pass) || sound_read.channel >= 0 || st.channels > 0)
        return scan_pairs_with(sound_scan_segment_pair, time, amplitude, result, n);
    const std::size_t stride = static_cast<std::size_t>(sound_read.info.channels);
    std::uint32_t i = 0;
    while (i < n) {
        if (!fetch_frame()) {
            result[i++] = EOF;
            break;
        }
        const std::size_t take = std::min<std::size_t>(n - i, frames_left());
        const float* sample = sound_frames.samples + sound_read.next * stride +
                              static_cast<std::size_t>(st.column - 1);
        const long long first = sound_read.base + static_cast<long long>(sound_read.next);
        synthesize_times(time + i, static_cast<double>(first), take);
        for (std::size_t k = 0; k < take; ++k) amplitude[i + k] = sample[k * stride];
        std::memset(result + i, 2, take);
        if (sound_read.first_pass) check_block(take);
        sound_read.next += take;
        i += static_cast<std::uint32_t>(take);
    }
    return i;
}

void sound_select_channel(int channel)
{
    sound_read.channel = channel;
    if (channel == 0) sound_read.mark = sound_read.next;
    sound_read.given = sound_read.mark;
}

void sound_channel_sums(int channel, double& sum, double& sum_sq)
{
    sum = sound_read.sum[channel];
    sum_sq = sound_read.sum_sq[channel];
}

void sound_rewind_record()
{
    if (sound_read.first_pass && !sound_read.ended && sound_read.counted > 0) {
        sound_read.limit = sound_read.counted;
        run_warning("\n Warning: the sound file holds more than the %lld frames counted; the rest"
                    " of the file is not used. \n",
                    sound_read.counted);
    }
    sound_read.first_pass = false;
    sf_seek(sound_read.file, 0, SEEK_SET);
    sound_read.held = sound_read.next = sound_read.mark = sound_read.given = 0;
    sound_read.base = 0;
    sound_read.ended = false;
    sound_read.channel = -1;
}

long long sound_record_offset()
{
    return sound_read.bytes.length;
}

} // namespace

const record_reader sound_reader{
    sound_scan_survey_pair, sound_scan_segment_pair, sound_scan_segment_pairs, sound_rewind_record,
    sound_record_offset,    sound_select_channel,    sound_channel_sums,       close_sound_record};

void reset_sound_reader()
{
    close_sound_record();
    sound_read = sound_state{};
    std::memset(&sound_frames, 0, sizeof sound_frames);
}
