#include "input/input.h"
#include "platform/console_format.h"
#include "run/analysis_state.h"

#include <cmath>

void segment_statistics(unsigned n)
{
    double s1 = 0., s2 = 0., s4 = 0.;
    for (unsigned i = 0; i < n; ++i) {
        const double x = st.seg[i].re;
        const double x2 = x * x;
        s1 += x;
        s2 += x2;
        s4 += x2 * x2;
    }
    st.ave = s1 / n;
    st.rms = std::sqrt(s2 / n);
    st.stddev = std::sqrt(st.rms * st.rms - st.ave * st.ave);
    const double var = st.stddev * st.stddev;
    st.kurtosis = s4 / (var * var * n);
    zprint("\n\n  ave= %9.4g G    std dev = %9.4g G   rms= %9.4g G", st.ave, st.stddev, st.rms);
    zprint("\n kurtosis= %9.4g", st.kurtosis);
}
