// Reading --histogram, --running, --spectrogram and --hold.
#include "cli/history_option.h"
#include "cli/option_values.h"
#include "core/script_messages.h"
#include "readings/sample_histogram.h"

#include <cmath>

history_option_state history_option{};

namespace {

constexpr long most_frame_segments = 1000000; // the largest K of --spectrogram

} // namespace

void take_histogram(const char* text)
{
    long n = 0;
    if (!read_whole_number(text, fewest_histogram_bins, most_histogram_bins, n))
        script_exit(2, "--histogram %s: a whole number of bins from %u to %u is expected", text,
                    fewest_histogram_bins, most_histogram_bins);
    history_option.histogram = static_cast<std::uint32_t>(n);
}

void take_running(const char* text)
{
    double seconds = 0.;
    if (!positive_number(text, seconds))
        script_exit(2, "--running %s: a window of a positive number of seconds is expected", text);
    history_option.running = seconds;
}

void take_spectrogram(const char* text)
{
    long k = 0;
    if (!read_whole_number(text, 1, most_frame_segments, k))
        script_exit(2,
                    "--spectrogram %s: a whole number of segments per frame from 1 to %ld is"
                    " expected",
                    text, most_frame_segments);
    history_option.spectrogram = static_cast<std::uint32_t>(k);
}

void take_hold(const char* /*text*/)
{
    history_option.hold = true;
}

void check_history_options()
{
    if (history_option.histogram > 0) refuse_with_survey("--histogram");
    if (history_option.running > 0.) refuse_with_survey("--running");
    if (history_option.spectrogram > 0) refuse_with_survey("--spectrogram");
    if (history_option.hold) refuse_with_survey("--hold");
}

void check_running_window(double rate)
{
    if (!(history_option.running > 0.) || !(rate > 0.)) return;
    if (!(std::round(history_option.running * rate) >= 2.))
        script_exit(2, "--running %g: a window of fewer than 2 samples at %g samples/sec",
                    history_option.running, rate);
}

void reset_history_option()
{
    history_option = {};
}
