// The loops of the shock response spectrum with AVX2. The filter: four
// outputs to a register, each summed in the order of the taps. The
// oscillators: four to a register, two registers side by side so that their recursions hide each
// other's latency, the state in registers for the whole run of values; each
// lane forms the products and sums of the plain step in its order, so the bits
// are the same.
#include "readings/srs_loop.h"

#if ZENTRI_X86_VECTORS
#include <immintrin.h>

#define ZENTRI_AVX __attribute__((target("avx2")))

namespace {

// Four oscillators' recursion and extremes, kept in registers over the run.
struct quad {
    __m256d w1, w2, high, low, relative; // as in srs_lanes
};

// Oscillators k .. k + 3 from the bank's arrays.
ZENTRI_AVX inline quad load_quad(const srs_lanes& l, std::size_t k)
{
    return {_mm256_loadu_pd(l.w1 + k), _mm256_loadu_pd(l.w2 + k), _mm256_loadu_pd(l.high + k),
            _mm256_loadu_pd(l.low + k), _mm256_loadu_pd(l.relative + k)};
}

// Oscillators k .. k + 3 back into the bank's arrays, with their last outputs y and z.
ZENTRI_AVX inline void store_quad(const srs_lanes& l, std::size_t k, const quad& q, __m256d y,
                                  __m256d z)
{
    _mm256_storeu_pd(l.w1 + k, q.w1), _mm256_storeu_pd(l.w2 + k, q.w2);
    _mm256_storeu_pd(l.high + k, q.high), _mm256_storeu_pd(l.low + k, q.low);
    _mm256_storeu_pd(l.relative + k, q.relative);
    _mm256_storeu_pd(l.y + k, y), _mm256_storeu_pd(l.z + k, z);
}

// One value v through oscillators k .. k + 3: step_oscillator and the extremes, lane by lane.
ZENTRI_AVX inline void step_quad(const srs_lanes& l, std::size_t k, __m256d v, quad& q, __m256d& y,
                                 __m256d& z)
{
    const __m256d sign = _mm256_set1_pd(-0.);
    const __m256d w =
        _mm256_add_pd(_mm256_add_pd(v, _mm256_mul_pd(_mm256_loadu_pd(l.a2 + k), q.w2)),
                      _mm256_mul_pd(_mm256_loadu_pd(l.a1 + k), q.w1));
    y = _mm256_add_pd(_mm256_add_pd(w, _mm256_mul_pd(_mm256_loadu_pd(l.c2 + k), q.w2)),
                      _mm256_mul_pd(_mm256_loadu_pd(l.c1 + k), q.w1));
    z = _mm256_add_pd(_mm256_add_pd(w, _mm256_mul_pd(_mm256_loadu_pd(l.e2 + k), q.w2)),
                      _mm256_mul_pd(_mm256_loadu_pd(l.e1 + k), q.w1));
    q.w2 = q.w1, q.w1 = w;
    q.high = _mm256_max_pd(y, q.high); // y > high ? y : high, as the plain step
    q.low = _mm256_min_pd(y, q.low);
    q.relative = _mm256_max_pd(_mm256_andnot_pd(sign, z), q.relative);
}

// Oscillators i .. i + 7 through the values, in two registers of four.
ZENTRI_AVX void run_eight(const srs_lanes& l, std::size_t i, const double* x, std::size_t count)
{
    quad p = load_quad(l, i), q = load_quad(l, i + 4);
    __m256d py = _mm256_loadu_pd(l.y + i), pz = _mm256_loadu_pd(l.z + i);
    __m256d qy = _mm256_loadu_pd(l.y + i + 4), qz = _mm256_loadu_pd(l.z + i + 4);
    for (std::size_t t = 0; t < count; ++t) {
        const __m256d v = _mm256_broadcast_sd(x + t);
        step_quad(l, i, v, p, py, pz);
        step_quad(l, i + 4, v, q, qy, qz);
    }
    store_quad(l, i, p, py, pz);
    store_quad(l, i + 4, q, qy, qz);
}

// Oscillators i .. i + 3 through the values.
ZENTRI_AVX void run_four(const srs_lanes& l, std::size_t i, const double* x, std::size_t count)
{
    quad p = load_quad(l, i);
    __m256d py = _mm256_loadu_pd(l.y + i), pz = _mm256_loadu_pd(l.z + i);
    for (std::size_t t = 0; t < count; ++t) step_quad(l, i, _mm256_broadcast_sd(x + t), p, py, pz);
    store_quad(l, i, p, py, pz);
}

// The oscillators, eight at a time, then four, then one by one.
ZENTRI_AVX void avx_srs_loop(const srs_lanes& l, std::size_t first, std::size_t last,
                             const double* x, std::size_t count)
{
    std::size_t i = first;
    for (; i + 8 <= last; i += 8) run_eight(l, i, x, count);
    for (; i + 4 <= last; i += 4) run_four(l, i, x, count);
    plain_srs_loop(l, i, last, x, count);
}

// The filter, four outputs at a time, then one by one.
ZENTRI_AVX void avx_filtered(const double* taps, std::size_t width, const double* x, std::size_t n,
                             double* out)
{
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        __m256d sum = _mm256_setzero_pd();
        for (std::size_t t = 0; t < width; ++t)
            sum = _mm256_add_pd(
                sum, _mm256_mul_pd(_mm256_broadcast_sd(taps + t), _mm256_loadu_pd(x + i + t)));
        _mm256_storeu_pd(out + i, sum);
    }
    if (i < n) plain_srs_paths.filter(taps, width, x + i, n - i, out + i);
}

} // namespace

const srs_paths avx_srs_paths{avx_srs_loop, avx_filtered};

#endif
