// The segment loop of a one-channel record: read, condition, transform, accumulate.
#include "run/segment_loop.h"
#include "input/input.h"
#include "input/pass_survey.h"
#include "input/pair_feed.h"
#include "platform/console_format.h"
#include "platform/progress_bar.h"
#include "core/analysis_state.h"
#include "core/end_run.h"
#include "spectrum/conditioning.h"
#include "spectrum/ctfourier.h"

#include <cmath>
#include <cstring>

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

// Conditions the segment, transforms it and adds its power to psd.
void transform_segment()
{
    if (st.mean_choice == mean_removed) remove_mean();
    if (st.window_choice == hanning_window) apply_hanning();
    convert_to_si();
    reorder_input();
    // Only the first m entries are ever written, so they are all that needs clearing.
    std::memset(st.twiddle, 0, st.m * sizeof st.twiddle[0]);
    zprint("\n call function ctfourier ");
    ctfourier();
}

} // namespace

bool segment_step()
{
    if (st.nave == 0) {
        read_first_segment();
        save_overlap();
        check_first_segment();
    } else {
        read_next_segment();
        save_overlap();
        if (st.status == status_exhausted) return false;
    }
    transform_segment();
    return true;
}

void segment_loop()
{
    st.nave = 0;
    start_pair_feed(st.record_pairs); // the next pairs are read while a segment is transformed
    while (segment_step()) {
        ++st.nave;
        progress_show(pass_progress());
    }
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
