// Building the views of the finished spectra from the program-wide record and
// the channels' stores.
#include "run/finished_views.h"
#include "core/analysis_state.h"
#include "core/quantities.h"
#include "spectrum/channel_store.h"
#include "spectrum/cross_spectrum.h"

psd_view finished_psd_view()
{
    return {st.psd,
            st.m,
            st.df,
            st.nave,
            st.input_type,
            st.window_choice,
            english_factor(st.input_type)};
}

cross_view channel_cross_view(int channel)
{
    return {channel_psd(reference_channel()), channel_psd(channel), channel_cross(channel),
            st.m / 2, st.df};
}
