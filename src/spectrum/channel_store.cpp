// Each channel's overlap and summed power, and its cross-power against the
// reference, in static storage sized for the most channels and the longest
// segment (untouched pages cost no memory: a run without a reference never
// touches the cross-power). The copies are m/2 floats per channel and segment,
// small beside the transform.
#include "spectrum/channel_store.h"
#include "core/analysis_state.h"

#include <cstring>

channel_stores stores{};

void channel_store_start()
{
    for (int c = 0; c < st.channels; ++c) {
        channel_swap_out(c);
        std::memcpy(stores.channel[c].psd, st.psd, st.m * sizeof st.psd[0]);
    }
}

void channel_swap_in(int channel)
{
    std::memcpy(st.overlap, stores.channel[channel].overlap, st.nhs * sizeof st.overlap[0]);
}

void channel_swap_out(int channel)
{
    std::memcpy(stores.channel[channel].overlap, st.overlap, st.nhs * sizeof st.overlap[0]);
}

double* channel_power(int channel)
{
    return stores.channel[channel].psd;
}

void select_channel_results(int channel)
{
    std::memcpy(st.psd, stores.channel[channel].psd, st.m * sizeof st.psd[0]);
}

const double* channel_psd(int channel)
{
    return stores.channel[channel].psd;
}

double* channel_cross(int channel)
{
    return stores.channel[channel].cross;
}

void reset_channel_stores()
{
    std::memset(&stores, 0, sizeof stores);
}
