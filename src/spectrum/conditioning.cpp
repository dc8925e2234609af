// Segment conditioning: mean removal, the Hanning window and conversion to SI units.
#include "spectrum/conditioning.h"
#include "platform/console_format.h"
#include "core/analysis_state.h"
#include "core/quantities.h"

#include <cmath>

namespace {

// Computes the window weights for the segment length; every segment of a run
// has the same length, so the sines are taken once rather than per segment.
void hanning_weights()
{
    const double m = st.m;
    for (std::uint32_t i = 0; i < st.m; ++i) {
        const double x = (i * st.pi) / m;
        const double s = std::sin(x);
        st.hann_weight[i] = st.hann_scale * (s * s);
    }
    st.hann_m = st.m;
}

} // namespace

void remove_mean()
{
    zprint("\n mean removal");
    for (std::uint32_t i = 0; i < st.m; ++i)
        st.seg[i].re = static_cast<float>(st.seg[i].re - st.ave);
}

void apply_hanning()
{
    st.hann_scale = std::sqrt(8. / 3.);
    zprint("\n Hanning window ");
    if (st.hann_m != st.m) hanning_weights();
    for (std::uint32_t i = 0; i < st.m; ++i)
        st.seg[i].re = static_cast<float>(st.hann_weight[i] * st.seg[i].re);
}

void convert_to_si()
{
    zprint("\n unit conversion");
    const double factor = si_factor(st.input_type, st.input_unit);
    if (factor == 0.) return;
    for (std::uint32_t i = 0; i < st.m; ++i)
        st.seg[i].re = static_cast<float>(st.seg[i].re * factor);
}
