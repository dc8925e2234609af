// The normalisation of the summed power into the one-sided PSD and its overall rms.
#include "spectrum/finished_psd.h"
#include "core/analysis_state.h"
#include "core/end_run.h"
#include "core/quantities.h"

#include <cmath>

namespace {

// Bin 0 is divided by df and nave and not doubled: it has no negative twin.
void finish_bin_zero()
{
    st.psd[0] = st.psd[0] * (1. / st.df);
    st.psd[0] = st.psd[0] * (1. / st.nave);
}

// Bins 1..m/2-1: divided by df and nave, times 4 and 0.5 (folding the negative
// frequencies in), in that order, and summed in order into overall_ms.
void finish_other_bins()
{
    st.overall_ms = 0.;
    for (std::uint32_t k = 1; k < st.m / 2; ++k) {
        st.psd[k] = st.psd[k] * (1. / st.df);
        st.psd[k] = st.psd[k] * (1. / st.nave);
        st.psd[k] = st.psd[k] * 4.;
        st.psd[k] = st.psd[k] * 0.5;
        st.overall_ms = st.overall_ms + st.psd[k];
    }
}

} // namespace

void finish_psd()
{
    finish_bin_zero();
    finish_other_bins();
    if (st.input_type != volts) {
        const double factor = english_factor(st.input_type);
        st.overall_ms = st.overall_ms * (factor * factor);
    }
    st.overall_rms = std::sqrt(st.overall_ms * st.df);
}

void refuse_overflowed_psd()
{
    for (std::uint32_t k = 0; k < st.m / 2; ++k)
        if (!std::isfinite(st.psd[k]))
            end_run("the spectrum overflows: the PSD line %lu at %g Hz is not a finite number; no"
                    " result file was written",
                    static_cast<unsigned long>(k), k * st.df);
    if (!std::isfinite(st.overall_rms))
        end_run("the spectrum overflows: the overall rms is not a finite number; no result file"
                " was written");
}

psd_view finished_psd_view()
{
    return {st.psd,         st.m, st.df, st.nave, st.input_type, st.window_choice,
            english_factor(st.input_type)};
}
