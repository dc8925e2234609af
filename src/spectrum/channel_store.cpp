// Each channel's overlap and summed power, and its cross-power against the
// reference, in static storage sized for the most channels and the longest
// segment (untouched pages cost no memory: a run without a reference never
// touches the cross-power). The copies are m/2 floats per channel and segment,
// small beside the transform.
#include "spectrum/channel_store.h"
#include "input/column_reader.h"
#include "core/analysis_state.h"

#include <cstring>

namespace {

// What one channel carries from segment to segment.
struct channel_store {
    float overlap[max_m / 2]; // raw second half of its previous segment
    double psd[max_m];        // its power summed per bin
    double cross[max_m];      // conj(X)·Y against the reference summed, re and im of bins 0..m/2-1
};
channel_store store[max_channels];

} // namespace

void channel_store_start()
{
    for (int c = 0; c < st.channels; ++c) {
        channel_swap_out(c);
        std::memcpy(store[c].psd, st.psd, st.m * sizeof st.psd[0]);
    }
}

void channel_swap_in(int channel)
{
    std::memcpy(st.overlap, store[channel].overlap, st.nhs * sizeof st.overlap[0]);
}

void channel_swap_out(int channel)
{
    std::memcpy(store[channel].overlap, st.overlap, st.nhs * sizeof st.overlap[0]);
}

double* channel_power(int channel)
{
    return store[channel].psd;
}

void select_channel_results(int channel)
{
    std::memcpy(st.psd, store[channel].psd, st.m * sizeof st.psd[0]);
}

const double* channel_psd(int channel)
{
    return store[channel].psd;
}

double* channel_cross(int channel)
{
    return store[channel].cross;
}
