// The time history fed in the pass, and its results and files after it.
#include "run/history_step.h"
#include "cli/history_option.h"
#include "core/analysis_state.h"
#include "core/quantities.h"
#include "core/script_messages.h"
#include "output/history_files.h"
#include "output/staged_files.h"
#include "spectrum/transform_pool.h"

#include <cmath>

history_state history;

namespace {

// What an unnamed file holds before each frame's powers.
struct frame_head {
    std::uint64_t first; // the frame's first segment, from 0
    std::uint32_t taken; // its segments
};

// The channel's history, or nullptr when the pass has not started it.
channel_history* history_of(int channel)
{
    const std::size_t i = channel < 0 ? 0 : static_cast<std::size_t>(channel);
    return i < history.channels.size() ? &history.channels[i] : nullptr;
}

// Closes the channel's unnamed files.
void close_spills(channel_history& h)
{
    if (h.windows != nullptr) std::fclose(h.windows);
    if (h.frame_powers != nullptr) std::fclose(h.frame_powers);
    h.windows = h.frame_powers = nullptr;
}

// Writes bytes to an unnamed file; a failure is noted for after the pass.
void spill(channel_history& h, std::FILE* f, const void* data, std::size_t bytes)
{
    if (f == nullptr || std::fwrite(data, 1, bytes, f) != bytes) h.spill_failed = true;
}

// Puts the frame the channel has gathered into its unnamed file.
void spill_frame(channel_history& h)
{
    const frame_head head{h.frames.first, h.frames.taken};
    spill(h, h.frame_powers, &head, sizeof head);
    spill(h, h.frame_powers, h.frames.power.data(), h.frames.power.size() * sizeof(double));
}

// Takes a segment's spectrum, in segment order: its mean square, its frame, its holds.
void take_spectrum(int channel, const complex_entry* spectrum, double mean_square)
{
    channel_history* h = st.scripted ? history_of(channel) : nullptr;
    if (h == nullptr) return;
    stationarity_take(h->stationarity, mean_square);
    if (h->frames.m != 0 && frames_take(h->frames, spectrum)) spill_frame(*h);
    if (h->holds.m != 0) holds_take(h->holds, spectrum);
}

// Starts the running figures of the channel, in windows of the asked seconds at the first
// segment's rate; a window of fewer than 2 samples is noted and refused after the pass.
void start_running(channel_history& h, int channel)
{
    history.window = 0;
    if (!(history_option.running > 0.)) return;
    const double samples = std::round(history_option.running / st.dt);
    history.window_too_short = !(samples >= 2.);
    if (history.window_too_short) return;
    history.window = static_cast<std::uint64_t>(samples);
    h.windows = std::tmpfile();
    if (h.windows == nullptr) h.spill_failed = true;
    running_start(h.running, history.window, [channel](const running_window& w) {
        channel_history* c = history_of(channel);
        spill(*c, c->windows, &w, sizeof w);
    });
}

// (Re)starts the channel's history at its first segment.
void start_channel(int channel)
{
    const std::size_t count = st.channels > 0 ? static_cast<std::size_t>(st.channels) : 1;
    if (history.channels.size() != count) {
        for (channel_history& h : history.channels) close_spills(h);
        history.channels.resize(count);
    }
    channel_history& h = *history_of(channel);
    close_spills(h);
    h = {};
    if (history_option.histogram > 0) histogram_start(h.histogram, history_option.histogram);
    start_running(h, channel);
    if (history_option.spectrogram > 0) {
        frames_start(h.frames, st.m, history_option.spectrogram);
        h.frame_powers = std::tmpfile();
        if (h.frame_powers == nullptr) h.spill_failed = true;
    }
    if (history_option.hold) holds_start(h.holds, st.m);
    set_spectrum_taker(take_spectrum);
}

// The factor from the record's unit to the quantity's first unit.
double first_unit_factor()
{
    if (st.input_type == volts || st.input_unit == 1) return 1.;
    const double si = si_factor(st.input_type, st.input_unit);
    return (si != 0. ? si : 1.) * english_factor(st.input_type);
}

// The record's step, s: the survey's, else the first segment's.
double record_step()
{
    return st.rec_dt > 0. ? st.rec_dt : st.dt;
}

} // namespace

void history_feed(const sample_block& block)
{
    if (!st.scripted) return;
    if (block.segment == 0) start_channel(block.channel);
    channel_history& h = *history_of(block.channel);
    history.samples.resize(block.count);
    for (std::uint32_t i = 0; i < block.count; ++i) history.samples[i] = block.first[i].re;
    const float* x = history.samples.data();
    statistics_feed(h.statistics, x, block.count, h.fed);
    if (h.histogram.bins != 0) histogram_feed(h.histogram, x, block.count);
    if (h.running.length != 0) running_feed(h.running, x, block.count, h.fed);
    h.fed += block.count;
}

namespace {

// The factor of the i-th PSD file of the quantity from the SI PSD: the English factor squared.
double psd_factor(int quantity, std::size_t i)
{
    const double e = english_factor(quantity);
    return history_file_english(quantity, i) ? e * e : 1.;
}

// Stages every file of a kind of the run's quantity.
std::vector<history_file> open_kind(channel_outcome& set, const result_request& request,
                                    history_kind kind)
{
    std::vector<history_file> files;
    for (const std::string& name : history_file_names(st.input_type, kind))
        files.push_back(open_history_file(set, request, name, kind, st.input_type));
    return files;
}

// Closes every file of a kind.
void close_kind(std::vector<history_file>& files)
{
    for (history_file& f : files) close_history_file(f);
}

// Writes the histogram file, its bins over the record's extremes.
void stage_histogram(channel_outcome& set, const result_request& request, const channel_history& h,
                     const record_statistics& s)
{
    std::vector<history_file> files = open_kind(set, request, history_kind::histogram);
    write_histogram_rows(files[0], histogram_finish(h.histogram, s.mean, s.deviation),
                         first_unit_factor());
    close_kind(files);
}

// Writes the running file from the windows kept in the unnamed file.
void stage_running(channel_outcome& set, const result_request& request, channel_history& h)
{
    std::vector<history_file> files = open_kind(set, request, history_kind::running);
    std::rewind(h.windows);
    running_window w{};
    while (std::fread(&w, sizeof w, 1, h.windows) == 1)
        write_running_row(files[0], st.rec_start + static_cast<double>(w.start) * record_step(), w,
                          first_unit_factor());
    close_kind(files);
}

// Writes the spectrogram files from the frames kept in the unnamed file, the
// last, partial frame included, each normalised as the PSD with its own segments.
void stage_spectrogram(channel_outcome& set, const result_request& request, channel_history& h)
{
    if (h.frames.taken > 0 && h.frames.taken < h.frames.per_frame) spill_frame(h);
    std::vector<history_file> files = open_kind(set, request, history_kind::spectrogram);
    spectrum_frames frame = h.frames;
    const std::size_t bins = frame.power.size();
    std::vector<double> psd(bins);
    std::rewind(h.frame_powers);
    frame_head head{};
    while (std::fread(&head, sizeof head, 1, h.frame_powers) == 1 &&
           std::fread(frame.power.data(), sizeof(double), bins, h.frame_powers) == bins) {
        frame.taken = head.taken;
        frame_psd(frame, st.df, psd.data());
        const double time = st.rec_start + static_cast<double>(head.first * st.nhs) * record_step();
        for (std::size_t i = 0; i < files.size(); ++i)
            write_spectrum_rows(files[i], psd.data(), frame.m / 2, st.df,
                                psd_factor(st.input_type, i), &time);
    }
    close_kind(files);
}

// Writes the max-hold and min-hold files.
void stage_holds(channel_outcome& set, const result_request& request, const channel_history& h)
{
    std::vector<double> psd(h.holds.most.size());
    for (const bool most : {true, false}) {
        hold_psd(h.holds, most, st.df, psd.data());
        std::vector<history_file> files =
            open_kind(set, request, most ? history_kind::max_hold : history_kind::min_hold);
        for (std::size_t i = 0; i < files.size(); ++i)
            write_spectrum_rows(files[i], psd.data(), h.holds.m / 2, st.df,
                                psd_factor(st.input_type, i), nullptr);
        close_kind(files);
    }
}

// The statistics in the quantity's first unit.
record_statistics in_first_unit(record_statistics s)
{
    const double f = first_unit_factor();
    s.minimum *= f;
    s.maximum *= f;
    s.mean *= f;
    s.deviation *= f;
    s.peak *= f;
    return s;
}

} // namespace

history_outcome stage_history(channel_outcome& set, const result_request& request, int channel)
{
    if (history.window_too_short)
        script_exit(2, "--running %g: a window of fewer than 2 samples at %g samples/sec",
                    history_option.running, 1. / st.dt);
    channel_history* h = history_of(channel);
    if (h == nullptr) return {};
    if (h->spill_failed)
        give_up("the time history's temporary file could not be written" + nothing_written);
    const record_statistics s = statistics_finish(h->statistics);
    history_outcome out;
    out.computed = true;
    out.statistics = in_first_unit(s);
    out.peak_time = st.rec_start + static_cast<double>(s.peak_at) * record_step();
    out.unit = unit_label(st.input_type, 1);
    out.stationarity = stationarity_finish(h->stationarity);
    if (h->histogram.bins != 0) stage_histogram(set, request, *h, s);
    if (h->windows != nullptr) stage_running(set, request, *h);
    if (h->frame_powers != nullptr) stage_spectrogram(set, request, *h);
    if (h->holds.m != 0) stage_holds(set, request, *h);
    close_spills(*h);
    return out;
}

void reset_history()
{
    for (channel_history& h : history.channels) close_spills(h);
    history = {};
    set_spectrum_taker(nullptr);
}
