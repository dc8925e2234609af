// The plain loops of the shock response spectrum, and the choice of loops.
#include "readings/srs_loop.h"
#include "readings/band_limited_upsampling.h"

#include <cmath>

void plain_srs_loop(const srs_lanes& l, std::size_t first, std::size_t last, const double* x,
                    std::size_t count)
{
    for (std::size_t i = first; i < last; ++i) {
        srs_step s{l.w1[i], l.w2[i], l.y[i], l.z[i]};
        double high = l.high[i], low = l.low[i], relative = l.relative[i];
        for (std::size_t t = 0; t < count; ++t) {
            step_oscillator(l, i, x[t], s);
            high = s.y > high ? s.y : high;
            low = s.y < low ? s.y : low;
            const double m = std::fabs(s.z);
            relative = m > relative ? m : relative;
        }
        l.w1[i] = s.w1, l.w2[i] = s.w2, l.y[i] = s.y, l.z[i] = s.z;
        l.high[i] = high, l.low[i] = low, l.relative[i] = relative;
    }
}

const srs_paths plain_srs_paths{plain_srs_loop, filtered};

const srs_paths& fastest_srs_paths()
{
#if ZENTRI_X86_VECTORS
    if (__builtin_cpu_supports("avx512f")) return avx512_srs_paths;
    if (__builtin_cpu_supports("avx2")) return avx_srs_paths;
#endif
    return plain_srs_paths;
}
