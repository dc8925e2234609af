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
    st.psd[0] = psd_of_power(st.psd[0], 0, st.df, st.nave);
}

// Bins 1..m/2-1: divided by df and nave, times 4 and 0.5 (folding the negative
// frequencies in), in that order, and summed in order into overall_ms.
void finish_other_bins()
{
    st.overall_ms = 0.;
    for (std::uint32_t k = 1; k < st.m / 2; ++k) {
        st.psd[k] = psd_of_power(st.psd[k], k, st.df, st.nave);
        st.overall_ms = st.overall_ms + st.psd[k];
    }
}

} // namespace

double psd_of_power(double power, std::uint32_t k, double df, std::uint32_t nave)
{
    double p = power * (1. / df);
    p = p * (1. / nave);
    if (k == 0) return p;
    p = p * 4.;
    return p * 0.5;
}

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
