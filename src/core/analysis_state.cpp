// The one analysis_state of the process and its start-up constants.
#include "core/analysis_state.h"

#include <cmath>

analysis_state st;

void set_constants()
{
    st.g_per_ms2 = 1. / 9.81;
    st.in_per_m = 1. / 0.0254;
    st.lbf_per_n = 1. / 4.448;
    st.psi_per_pa = 1. / 6897.;
    st.pi = std::atan2(0., -1.);
    st.tpi = 2. * st.pi;
}

namespace {
// The constants are in place before main() runs.
const bool constants_ready = (set_constants(), true);
} // namespace
