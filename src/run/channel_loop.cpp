// The segment loop for several channels. analysis_state holds one segment and
// one channel's overlap and psd, and every procedure of the loop works on it;
// each channel keeps its own overlap and psd here, in static storage sized for
// the most channels and the longest segment (untouched pages cost no memory),
// and they are copied through the record's fields around the channel's turn.
// The copies are m/2 floats and m doubles per channel and segment, small beside
// the transform, and the loop's procedures stay as the one-channel run has them.
// There is no reading ahead here: channel 0's reads keep every channel's lines
// for the others, which a second thread reading on would not.
#include "input/input.h"
#include "platform/progress_bar.h"
#include "run/analysis_state.h"
#include "run/run.h"

#include <cstring>

namespace {

// What one channel carries from segment to segment.
struct channel_store {
    float overlap[max_m / 2]; // raw second half of its previous segment
    double psd[max_m];        // its power summed per bin
};
channel_store store[max_channels];

// Copies the channel's overlap and psd into the record.
void swap_in(int channel)
{
    std::memcpy(st.overlap, store[channel].overlap, st.nhs * sizeof st.overlap[0]);
    std::memcpy(st.psd, store[channel].psd, st.m * sizeof st.psd[0]);
}

// Copies the record's overlap and psd back into the channel's store.
void swap_out(int channel)
{
    std::memcpy(store[channel].overlap, st.overlap, st.nhs * sizeof st.overlap[0]);
    std::memcpy(store[channel].psd, st.psd, st.m * sizeof st.psd[0]);
}

} // namespace

void channel_segment_loop()
{
    for (int c = 0; c < st.channels; ++c) swap_out(c); // every channel starts as the record does
    st.nave = 0;
    for (;;) {
        bool more = true;
        for (int c = 0; c < st.channels && more; ++c) {
            column_select_channel(c);
            swap_in(c);
            more = segment_step();
            swap_out(c);
        }
        if (!more) break;
        ++st.nave;
        progress_show(st.nave);
    }
    column_select_channel(-1);
}

void select_channel_results(int channel)
{
    std::memcpy(st.psd, store[channel].psd, st.m * sizeof st.psd[0]);
}
