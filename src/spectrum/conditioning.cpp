// Segment conditioning: mean removal, the Hanning window and conversion to SI units.
#include "spectrum/conditioning.h"
#include "core/analysis_state.h"
#include "core/quantities.h"
#include "platform/console_format.h"

#include <cmath>

namespace {

constexpr const char* mean_text = "\n mean removal"; // the dialogue's line of each step
constexpr const char* hanning_text = "\n Hanning window ";
constexpr const char* si_text = "\n unit conversion";

// The steps of one conditioning and their values.
struct conditioning_steps {
    bool remove_mean; // subtract mean
    double mean;      // the segment's mean
    bool window;      // multiply by the Hanning weights, which must be in place
    double si;        // the SI factor of the run's unit, 0 for none
};

// Conditions the real parts of entries 0..m-1 of in into out (which may be in),
// in one pass; each step rounds to float as it would alone, so the bits are those
// of the steps taken one after the other.
void condition_entries(const complex_entry* in, complex_entry* out, const conditioning_steps& steps)
{
    for (std::uint32_t i = 0; i < st.m; ++i) {
        float x = in[i].re;
        if (steps.remove_mean) x = static_cast<float>(x - steps.mean);
        if (steps.window) x = static_cast<float>(st.hann_weight[i] * x);
        if (steps.si != 0.) x = static_cast<float>(x * steps.si);
        out[i].re = x;
    }
}

// The SI factor of the run's unit, 0 when it needs none.
double run_si_factor()
{
    return si_factor(st.input_type, st.input_unit);
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

void condition_samples(const complex_entry* in, float* out, double mean)
{
    // Each step in a loop of its own over a plain array of floats, so the
    // compiler can take several samples at once; every step rounds to float as
    // in condition_entries(), so the bits are the same.
    const std::uint32_t m = st.m;
    if (st.mean_choice == mean_removed)
        for (std::uint32_t i = 0; i < m; ++i) out[i] = static_cast<float>(in[i].re - mean);
    else
        for (std::uint32_t i = 0; i < m; ++i) out[i] = in[i].re;
    if (st.window_choice == hanning_window) {
        const double* weight = st.hann_weight;
        for (std::uint32_t i = 0; i < m; ++i) out[i] = static_cast<float>(weight[i] * out[i]);
    }
    const double si = run_si_factor();
    if (si != 0.)
        for (std::uint32_t i = 0; i < m; ++i) out[i] = static_cast<float>(out[i] * si);
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
    condition_entries(st.seg, st.seg, {true, st.ave, false, 0.});
}

void apply_hanning()
{
    zprint("%s", hanning_text);
    prepare_hanning_weights();
    condition_entries(st.seg, st.seg, {false, 0., true, 0.});
}

void convert_to_si()
{
    zprint("%s", si_text);
    condition_entries(st.seg, st.seg, {false, 0., false, run_si_factor()});
}
