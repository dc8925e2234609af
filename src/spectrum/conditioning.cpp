// Segment conditioning: mean removal, the Hanning window and conversion to SI units.
#include "platform/console_format.h"
#include "core/analysis_state.h"
#include "core/quantities.h"
#include "spectrum/spectrum.h"

#include <cmath>

namespace {

constexpr const char* mean_text = "\n mean removal"; // the dialogue's line of each step
constexpr const char* hanning_text = "\n Hanning window ";
constexpr const char* si_text = "\n unit conversion";

// Subtracts mean from entries 0..m-1.
void subtract_mean(complex_entry* seg, double mean)
{
    for (std::uint32_t i = 0; i < st.m; ++i) seg[i].re = static_cast<float>(seg[i].re - mean);
}

// Multiplies entries 0..m-1 by the window weights, which must be in place.
void weigh_by_window(complex_entry* seg)
{
    for (std::uint32_t i = 0; i < st.m; ++i)
        seg[i].re = static_cast<float>(st.hann_weight[i] * seg[i].re);
}

// Multiplies entries 0..m-1 by the SI factor of the run's unit, if it has one.
void scale_to_si(complex_entry* seg)
{
    const double factor = si_factor(st.input_type, st.input_unit);
    if (factor == 0.) return;
    for (std::uint32_t i = 0; i < st.m; ++i) seg[i].re = static_cast<float>(seg[i].re * factor);
}

} // namespace

void prepare_hanning_weights()
{
    st.hann_scale = std::sqrt(8. / 3.);
    if (st.hann_m == st.m) return;
    // Every segment of a run has the same length: the sines are taken once, not per segment.
    const double m = st.m;
    for (std::uint32_t i = 0; i < st.m; ++i) {
        const double x = (i * st.pi) / m;
        const double s = std::sin(x);
        st.hann_weight[i] = st.hann_scale * (s * s);
    }
    st.hann_m = st.m;
}

void condition_segment(complex_entry* seg, double mean)
{
    if (st.mean_choice == mean_removed) subtract_mean(seg, mean);
    if (st.window_choice == hanning_window) weigh_by_window(seg);
    scale_to_si(seg);
}

void narrate_conditioning()
{
    if (st.mean_choice == mean_removed) zprint("%s", mean_text);
    if (st.window_choice == hanning_window) zprint("%s", hanning_text);
    zprint("%s", si_text);
}

void remove_mean()
{
    zprint("%s", mean_text);
    subtract_mean(st.seg, st.ave);
}

void apply_hanning()
{
    zprint("%s", hanning_text);
    prepare_hanning_weights();
    weigh_by_window(st.seg);
}

void convert_to_si()
{
    zprint("%s", si_text);
    scale_to_si(st.seg);
}
