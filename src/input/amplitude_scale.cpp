// The survey's figures of a run with --scale, and the check that no scaled
// amplitude overflows a float before the segments are read.
#include "input/amplitude_scale.h"
#include "core/analysis_state.h"
#include "core/end_run.h"
#include "input/record_format.h"

#include <cfloat>
#include <cmath>
#include <cstdint>

namespace {

// Ends the run at the first amplitude that is infinite once multiplied by the
// factor. No amplitude can be when the factor's magnitude is at most 1, or
// when the largest it can have, sqrt of the sum of squares (rms sqrt(pairs)),
// stays below the largest float over the factor with room for the roundings;
// otherwise the record is read again, as the segments read it, to find out.
void check_scaled_amplitudes()
{
    const double factor = std::fabs(static_cast<double>(st.scale));
    const double largest = st.rec_rms * std::sqrt(static_cast<double>(st.record_pairs));
    if (factor <= 1. || largest * factor * (1. + 1e-6) < FLT_MAX) return;
    rewind_record();
    for (std::uint32_t pair = 1; pair <= st.record_pairs; ++pair) {
        double time = 0.;
        float amplitude = 0.f;
        if (scan_segment_pair(&time, &amplitude) == 2 && !std::isfinite(amplitude))
            end_run("\n\n Error: --scale %g: amplitude %lu of the record times the factor is"
                    " beyond single precision. \n",
                    static_cast<double>(st.scale), static_cast<unsigned long>(pair));
    }
}

} // namespace

void scale_survey_figures()
{
    if (st.scale == 0.f) return;
    check_scaled_amplitudes();
    scale_record_figures();
}

void scale_record_figures()
{
    if (st.scale == 0.f) return;
    st.rec_mean *= static_cast<double>(st.scale);
    st.rec_rms *= std::fabs(static_cast<double>(st.scale));
}
