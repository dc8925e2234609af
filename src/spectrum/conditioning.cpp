#include "platform/console_format.h"
#include "run/analysis_state.h"
#include "spectrum/spectrum.h"

#include <cmath>

namespace {

// Factor from the input unit to SI, or 0 when the samples are already in SI units.
double si_factor()
{
    const int type = st.input_type;
    const int unit = st.input_unit;
    if (type == 1 && unit == 1) return 9.81;
    if (type == 2 && unit == 1) return 0.0254;
    if (type == 3 && unit == 1) return 0.0254;
    if (type == 3 && unit == 2) return 0.0254 / 1000.;
    if (type == 3 && unit == 3) return 0.0254 / 1000000.;
    if (type == 3 && unit == 5) return static_cast<float>(0.001);
    if (type == 3 && unit == 6) return static_cast<float>(1e-6);
    if (type == 4 && unit == 1) return 4.448;
    if (type == 5 && unit == 1) return 6897.;
    return 0.;
}

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
    const double factor = si_factor();
    if (factor == 0.) return;
    for (std::uint32_t i = 0; i < st.m; ++i)
        st.seg[i].re = static_cast<float>(st.seg[i].re * factor);
}
