#include "platform/console_format.h"
#include "platform/console_input.h"
#include "run/analysis_state.h"
#include "run/run.h"

#include <cstdint>

namespace {

// Stores an answer as the unsigned 32-bit count; out-of-range answers become the
// largest count, so they count as above the maximum and never wrap into range.
std::uint32_t to_count(long long v)
{
    return (v < 0 || v > static_cast<long long>(UINT32_MAX)) ? UINT32_MAX
                                                             : static_cast<std::uint32_t>(v);
}

// Reads the answer into m; a non-number is discarded with its line and leaves m as it was.
void read_segment_length()
{
    long long v = 0;
    const answer_result r = read_integer_answer(&v);
    if (r == answer_end) input_error();
    if (r == answer_ok)
        st.m = to_count(v);
    else
        discard_input_line();
}

// Reads an unchecked menu answer and tells whether it is the given choice; a
// non-number is discarded with its line so the next question starts afresh.
bool answer_is(long long choice)
{
    long long v = 0;
    const answer_result r = read_integer_answer(&v);
    if (r == answer_not_number) discard_input_line();
    return r == answer_ok && v == choice;
}

} // namespace

void segment_length_dialogue()
{
    do {
        st.status = 1;
        zprint("\n Enter samples per segment value from third column. \n ");
        read_segment_length();
        st.nhs = st.m / 2;
        bool power = false;
        for (std::uint32_t i = 1; i <= 16; ++i) {
            if (st.m == (1u << i)) {
                st.nstages = i;
                power = true;
            }
        }
        if (!power) {
            zprint("\n Error: illegal n value.  n must be 2^i, where i is an integer.");
            if (st.m > max_m) zprint("\n maximum allowed value is %ld ", static_cast<long>(max_m));
            st.status = 999;
        }
    } while (st.status == 999);
}

void choices_dialogue()
{
    zprint("\n Mean removal? ");
    zprint("\n 1=yes 2=no \n");
    st.mean_choice = answer_is(1) ? 1 : 2;
    zprint("\n Enter window type ");
    zprint("\n 1=rectangular  2=Hanning \n");
    st.window_choice = answer_is(2) ? 2 : 1;
    zprint("\n");
}
