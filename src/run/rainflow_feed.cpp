// Feeding each channel's rainflow count block by block, on a helper thread when allowed.
#include "run/rainflow_feed.h"
#include "cli/fatigue_option.h"
#include "core/analysis_state.h"
#include "core/quantities.h"
#include "output/fatigue_files.h"
#include "spectrum/transform_pool.h"

#include <algorithm>

rainflow_feed_state rainflow_feed;

namespace {

// The index of a channel's count: 0 for a one-channel record.
std::size_t slot_of(int channel)
{
    return channel < 0 ? 0 : static_cast<std::size_t>(channel);
}

// Starts a count per channel, a temporary file for each one's rows when the
// file is asked for, and the helper when more than one thread may run.
void start_counts()
{
    const sn_curve sn{fatigue_option.sn_exponent > 0. ? fatigue_option.sn_exponent : 1.,
                      fatigue_option.sn_constant};
    const std::size_t n = static_cast<std::size_t>(std::max(1, st.channels));
    rainflow_feed.counts.assign(n, start_rainflow(sn, fatigue_option.rainflow));
    rainflow_feed.rows.assign(n, nullptr);
    rainflow_feed.pending.assign(n, {});
    for (std::FILE*& f : rainflow_feed.rows)
        if (fatigue_option.rainflow && (f = std::tmpfile()) == nullptr)
            rainflow_feed.rows_failed = true;
    rainflow_feed.factor = first_unit_factor();
    if (transform_threads() > 1) rainflow_feed.worker = start_helper();
}

// Counts samples of the channel's slot and writes the cycles counted to its rows.
void count(std::size_t slot, const float* samples, std::size_t n)
{
    rainflow_state& s = rainflow_feed.counts[slot];
    feed_rainflow(s, samples, n);
    if (s.counted.empty()) return;
    std::FILE* f = rainflow_feed.rows[slot];
    if (f == nullptr || !write_rainflow_rows(f, s.counted, rainflow_feed.factor))
        rainflow_feed.rows_failed = true;
    s.counted.clear();
}

// Waits until the helper has counted the block it was given.
void wait_for_count()
{
    if (!rainflow_feed.busy) return;
    wait_for_helper(*rainflow_feed.worker);
    rainflow_feed.busy = false;
}

// Hands the channel's pending samples to its count: to the helper, or counted here.
void hand_over(std::size_t slot)
{
    wait_for_count();
    std::vector<float>& taken = rainflow_feed.taken;
    taken.swap(rainflow_feed.pending[slot]);
    rainflow_feed.pending[slot].clear();
    if (!rainflow_feed.worker) {
        count(slot, taken.data(), taken.size());
        return;
    }
    rainflow_feed.busy = true;
    hand_to_helper(*rainflow_feed.worker,
                   [slot] { count(slot, rainflow_feed.taken.data(), rainflow_feed.taken.size()); });
}

} // namespace

void feed_rainflow_block(const sample_block& block)
{
    if (!rainflow_asked()) return;
    if (rainflow_feed.counts.empty()) start_counts();
    const std::size_t slot = slot_of(block.channel);
    std::vector<float>& pending = rainflow_feed.pending[slot];
    for (std::uint32_t i = 0; i < block.count; ++i) pending.push_back(block.first[i].re);
    if (pending.size() >= rainflow_batch) hand_over(slot);
}

const rainflow_state& finished_rainflow(int channel)
{
    const std::size_t slot = slot_of(channel);
    hand_over(slot);
    wait_for_count();
    rainflow_state& s = rainflow_feed.counts[slot];
    finish_rainflow(s);
    count(slot, nullptr, 0); // the residue's half cycles to the rows
    return s;
}

std::FILE* rainflow_rows(int channel)
{
    return rainflow_feed.rows_failed ? nullptr : rainflow_feed.rows[slot_of(channel)];
}

double first_unit_factor()
{
    if (st.input_type == volts || st.input_unit <= 1) return 1.;
    const double si = si_factor(st.input_type, st.input_unit);
    return (si == 0. ? 1. : si) * english_factor(st.input_type);
}

void reset_rainflow_feed()
{
    wait_for_count();
    for (std::FILE* f : rainflow_feed.rows)
        if (f != nullptr) std::fclose(f);
    rainflow_feed.counts.clear();
    rainflow_feed.rows.clear();
    rainflow_feed.pending.clear();
    rainflow_feed.worker.reset();
    rainflow_feed.rows_failed = false;
}
