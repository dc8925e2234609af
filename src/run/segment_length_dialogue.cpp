// The dialogue's questions of the segment length, mean removal and window.
#include "run/segment_length_dialogue.h"
#include "core/analysis_state.h"
#include "core/end_run.h"
#include "platform/console_format.h"
#include "platform/console_input.h"

#include <cstdint>

namespace {

// Stores an answer as the unsigned 32-bit count; out-of-range answers become the
// largest count, so they count as above the maximum and never wrap into range.
std::uint32_t to_count(long long v)
{
    return (v < 0 || v > static_cast<long long>(UINT32_MAX)) ? UINT32_MAX
                                                             : static_cast<std::uint32_t>(v);
}

// Reads the answer into m and tells whether it was a number; a non-number
// ("abc", "256.5") is discarded with its line and leaves m as it was.
bool read_segment_length()
{
    long long v = 0;
    const answer_result r = read_integer_answer(&v);
    if (r == answer_end) input_error();
    if (r == answer_ok) {
        st.m = to_count(v);
        return true;
    }
    discard_input_line();
    return false;
}

// Reads a mean-removal or window answer and tells whether it is the given
// choice; any other number is not, and a non-number or the end of input ends
// the run before any result file is touched.
bool answer_is(long long choice)
{
    long long v = 0;
    if (read_integer_answer(&v) != answer_ok) input_error();
    return v == choice;
}

// Refuses a power of two longer than the record, so the run does not ask two
// more questions only to stop for want of samples.
void check_record_length()
{
    if (st.m <= st.record_pairs) return;
    zprint("\n The record holds only %ld pairs; choose a value from the third column. ",
           static_cast<long>(st.record_pairs));
    st.status = status_rejected_m;
}

} // namespace

void segment_length_dialogue()
{
    do {
        st.status = status_running;
        zprint("\n Enter samples per segment value from third column. \n ");
        const bool number = read_segment_length();
        st.nhs = st.m / 2;
        bool power = false;
        for (std::uint32_t i = 1; i <= 16; ++i) {
            if (st.m == (1u << i)) {
                st.nstages = i;
                power = true;
            }
        }
        if (!power || !number) {
            zprint("\n Error: illegal n value.  n must be 2^i, where i is an integer.");
            if (st.m > max_m) zprint("\n maximum allowed value is %ld ", static_cast<long>(max_m));
            st.status = status_rejected_m;
        } else {
            check_record_length();
        }
    } while (st.status == status_rejected_m);
}

void choices_dialogue()
{
    zprint("\n Mean removal? ");
    zprint("\n 1=yes 2=no \n");
    st.mean_choice = answer_is(mean_removed) ? mean_removed : mean_kept;
    zprint("\n Enter window type ");
    zprint("\n 1=rectangular  2=Hanning \n");
    st.window_choice = answer_is(hanning_window) ? hanning_window : rectangular_window;
    zprint("\n");
}
