// The statistics of a segment: its mean, which mean removal subtracts, and
// the spread, rms and kurtosis the dialogue prints.
#include "input/segment_statistics.h"
#include "core/analysis_state.h"
#include "core/quantities.h"
#include "platform/console_format.h"

#include <cmath>

bool segment_mean_deferred()
{
    return console_is_muted();
}

void segment_statistics(unsigned n)
{
    if (segment_mean_deferred()) return; // nothing is printed: the mean alone is needed, later
    double s1 = 0., s2 = 0.;
    for (unsigned i = 0; i < n; ++i) {
        const double x = st.seg[i].re;
        s1 += x;
        s2 += x * x;
    }
    st.ave = s1 / n;
    st.rms = std::sqrt(s2 / n);
    // The spread and the kurtosis are taken about the mean, in a second pass, so
    // an offset neither inflates the kurtosis nor cancels into a negative variance.
    double c2 = 0., c4 = 0.;
    for (unsigned i = 0; i < n; ++i) {
        const double d = st.seg[i].re - st.ave;
        const double d2 = d * d;
        c2 += d2;
        c4 += d2 * d2;
    }
    const double var = c2 / n;
    st.stddev = std::sqrt(var);
    st.kurtosis = c4 / ((var * var) * n);
    const char* unit = unit_label(st.input_type, st.input_unit);
    zprint("\n\n  ave= %9.4g %s    std dev = %9.4g %s   rms= %9.4g %s", st.ave, unit, st.stddev,
           unit, st.rms, unit);
    zprint("\n kurtosis= %9.4g", st.kurtosis);
}
