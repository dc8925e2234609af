// Feeding the shock response spectrum's oscillators in the pass and staging its results after it.
#include "run/srs_step.h"
#include "cli/oscillator_option.h"
#include "cli/srs_option.h"
#include "core/analysis_state.h"
#include "core/quantities.h"
#include "core/run_cleanups.h"
#include "core/script_messages.h"
#include "output/srs_files.h"
#include "readings/srs_check.h"
#include "spectrum/transform_pool.h"

#include <cstddef>

srs_feed_state srs_feed{};

namespace {

// The bank of a channel: the channel's own, the first for a record of one channel.
std::size_t bank_index(int channel)
{
    return channel < 0 ? 0 : static_cast<std::size_t>(channel);
}

// The factor from the record's unit to m/sec^2.
double record_to_ms2()
{
    const double f = si_factor(st.input_type, st.input_unit);
    return f == 0. ? 1. : f;
}

// The factor from the record's unit to G: 1 for a record in G.
double record_to_g()
{
    return unit_of(st.input_type, st.input_unit)->english ? 1. : record_to_ms2() * st.g_per_ms2;
}

// Starts the channel's bank at the rate of the first segment; oscillators that
// do not fit the rate stop the record's reader and end the run with status 2.
void start_bank(std::size_t index)
{
    srs_feed.oscillators = chosen_oscillators(st.sr);
    const std::string fault = oscillator_fault(srs_feed.oscillators, st.sr);
    if (!fault.empty()) {
        stop_reading_threads(); // the read-ahead thread, before the process ends
        script_exit(2, "%s", fault.c_str());
    }
    if (srs_feed.banks.size() <= index) srs_feed.banks.resize(index + 1);
    const oscillator_options& o = srs_feed.oscillators;
    srs_feed.banks[index] =
        start_srs(natural_frequencies(o), o.q, st.sr, record_to_ms2(), transform_threads());
}

// The row of the largest maximax.
std::size_t peak_row(const srs_result& r)
{
    std::size_t peak = 0;
    for (std::size_t i = 1; i < r.rows.size(); ++i)
        if (r.rows[i].maximax > r.rows[peak].maximax) peak = i;
    return peak;
}

// Checks the spectrum against the shock profile; a profile that covers none
// of the natural frequencies is a usage error.
void check_against_shock_profile(srs_outcome& out)
{
    const std::vector<profile_point>& points = srs_option.points;
    out.check = check_srs(out.result.rows, out.to_g, points, out.band);
    if (out.check->rows.empty())
        script_exit(2,
                    "the shock profile from %g to %g Hz covers none of the natural frequencies,"
                    " %g to %g Hz",
                    points.front().frequency, points.back().frequency, out.result.rows.front().fn,
                    out.result.rows.back().fn);
}

} // namespace

void feed_srs_block(const sample_block& block)
{
    if (!srs_option.asked) return;
    const std::size_t index = bank_index(block.channel);
    if (block.segment == 0) start_bank(index);
    std::vector<float>& x = srs_feed.samples;
    x.resize(block.count);
    for (std::uint32_t i = 0; i < block.count; ++i) x[i] = block.first[i].re;
    feed_srs(srs_feed.banks[index], x.data(), x.size());
}

void stage_srs(channel_outcome& set, int channel, const result_request& request)
{
    if (!srs_option.asked) return;
    srs_bank& bank = srs_feed.banks[bank_index(channel)];
    srs_outcome out{finish_srs(bank), srs_feed.oscillators, 0, record_to_g(), record_to_ms2(),
                    std::nullopt,     srs_option.tolerance};
    bank = srs_bank{}; // its helper thread stops
    out.peak_row = peak_row(out.result);
    if (!srs_option.profile.empty()) check_against_shock_profile(out);
    stage_srs_files(set, request, out);
    set.srs = out;
}

void reset_srs_feed()
{
    srs_feed = srs_feed_state{};
}
