// The segment loop of a one-channel record: read, hand the segment to the
// transforms (which may run on other cores), add the power in segment order.
#include "run/segment_loop.h"
#include "core/analysis_state.h"
#include "core/end_run.h"
#include "input/pair_feed.h"
#include "input/pass_survey.h"
#include "input/record_change.h"
#include "input/segment_reader.h"
#include "platform/console_format.h"
#include "platform/progress_bar.h"
#include "run/per_sample_feed.h"
#include "spectrum/channel_store.h"
#include "spectrum/conditioning.h"
#include "spectrum/ctfourier.h"
#include "spectrum/transform_pool.h"

#include <cmath>

namespace {

// Ends the run when the first segment could not be filled or has no usable time span.
void check_first_segment()
{
    // A single pass has its survey to settle first: the survey's own errors come before these.
    if (st.one_pass && st.status == status_exhausted) end_short_pass();
    if (st.one_pass && !(st.t_last - st.t_first > 0.)) end_pass_survey();
    if (st.status == status_exhausted) {
        end_run("\n\n Error: the record holds only %ld samples, fewer than the %ld samples"
                " per segment. \n Choose a smaller value from the third column. \n",
                static_cast<long>(st.ns), static_cast<long>(st.m));
    }
    const double span = st.t_last - st.t_first;
    if (!(std::isfinite(span) && span > 0.)) {
        end_run("\n\n Error: the time span of the first segment, %g to %g sec, is not a positive"
                " number. \n The time column must increase from sample to sample. \n",
                st.t_first, st.t_last);
    }
}

// The samples the segment just read brought: all m of the first, the nhs read
// anew of a later one.
sample_block new_samples(int channel)
{
    const bool first = st.nave == 0;
    return {channel, st.nave, st.seg + (first ? 0 : st.nhs), first ? st.m : st.nhs};
}

// Feeds the per-sample work the samples after the last whole segment, which no segment holds.
void feed_tail(int channel)
{
    if (st.ns > 0) feed_per_sample_work({channel, st.nave, st.seg + st.nhs, st.ns});
}

// Prints the conditioning's and the transform's lines of the segment, in the
// dialogue's order; the transform itself runs later, silently, on any thread.
void narrate_transform()
{
    narrate_conditioning();
    narrate_reordering();
    zprint("\n call function ctfourier ");
    narrate_ctfourier();
}

} // namespace

bool segment_step(int channel)
{
    if (st.nave == 0) {
        read_first_segment();
        save_overlap();
        check_first_segment();
    } else {
        read_next_segment();
        save_overlap();
        if (st.status == status_exhausted) {
            feed_tail(channel);
            return false;
        }
    }
    feed_per_sample_work(new_samples(channel));
    narrate_transform();
    transform_hand_over(channel < 0 ? st.psd : channel_power(channel), channel);
    return true;
}

void segment_loop()
{
    st.nave = 0;
    start_pair_feed(st.record_pairs); // the next pairs are read while a segment is transformed
    transform_pool_start();           // and earlier segments are transformed on the other cores
    while (segment_step(-1)) {
        ++st.nave;
        progress_show(pass_progress());
    }
    transform_pool_finish();
    stop_pair_feed();
    end_segment_pass();
}

void end_segment_pass()
{
    if (!record_grew()) return;
    progress_end(); // the warning takes the bar's line
    run_warning("\n Warning: the record grew while it was read; the %ld pairs counted are used. ",
                static_cast<long>(st.record_pairs));
}
