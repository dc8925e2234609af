// The oscillators' loop of the shock response spectrum with AVX-512: eight
// oscillators to a register, two registers side by side, the state in
// registers for the whole run of values; each lane forms the products and sums
// of the plain step in its order, so the bits are the same. The oscillators
// left over, and the filter, run as in the AVX2 build.
#include "readings/srs_loop.h"

#if ZENTRI_X86_VECTORS
#include <immintrin.h>

#define ZENTRI_AVX512 __attribute__((target("avx512f")))

namespace {

constexpr __mmask8 all_lanes = 0xFF; // every lane of a register

// Eight oscillators' recursion and extremes, kept in registers over the run.
struct octet {
    __m512d w1, w2, high, low, relative; // as in srs_lanes
};

// Oscillators k .. k + 7 from the bank's arrays.
ZENTRI_AVX512 inline octet load_octet(const srs_lanes& l, std::size_t k)
{
    return {_mm512_loadu_pd(l.w1 + k), _mm512_loadu_pd(l.w2 + k), _mm512_loadu_pd(l.high + k),
            _mm512_loadu_pd(l.low + k), _mm512_loadu_pd(l.relative + k)};
}

// Oscillators k .. k + 7 back into the bank's arrays, with their last outputs y and z.
ZENTRI_AVX512 inline void store_octet(const srs_lanes& l, std::size_t k, const octet& q, __m512d y,
                                      __m512d z)
{
    _mm512_storeu_pd(l.w1 + k, q.w1), _mm512_storeu_pd(l.w2 + k, q.w2);
    _mm512_storeu_pd(l.high + k, q.high), _mm512_storeu_pd(l.low + k, q.low);
    _mm512_storeu_pd(l.relative + k, q.relative);
    _mm512_storeu_pd(l.y + k, y), _mm512_storeu_pd(l.z + k, z);
}

// One value v through oscillators k .. k + 7: step_oscillator and the extremes, lane by lane.
ZENTRI_AVX512 inline void step_octet(const srs_lanes& l, std::size_t k, __m512d v, octet& q,
                                     __m512d& y, __m512d& z)
{
    const __m512d w =
        _mm512_add_pd(_mm512_add_pd(v, _mm512_mul_pd(_mm512_loadu_pd(l.a2 + k), q.w2)),
                      _mm512_mul_pd(_mm512_loadu_pd(l.a1 + k), q.w1));
    y = _mm512_add_pd(_mm512_add_pd(w, _mm512_mul_pd(_mm512_loadu_pd(l.c2 + k), q.w2)),
                      _mm512_mul_pd(_mm512_loadu_pd(l.c1 + k), q.w1));
    z = _mm512_add_pd(_mm512_add_pd(w, _mm512_mul_pd(_mm512_loadu_pd(l.e2 + k), q.w2)),
                      _mm512_mul_pd(_mm512_loadu_pd(l.e1 + k), q.w1));
    q.w2 = q.w1, q.w1 = w;
    // y > high ? y : high, as the plain step, in every lane (the masked forms
    // name their pass-through, which keeps the compiler from warning of it).
    q.high = _mm512_mask_max_pd(q.high, all_lanes, y, q.high);
    q.low = _mm512_mask_min_pd(q.low, all_lanes, y, q.low);
    q.relative = _mm512_mask_max_pd(q.relative, all_lanes, _mm512_abs_pd(z), q.relative);
}

// Oscillators i .. i + 15 through the values, in two registers of eight.
ZENTRI_AVX512 void run_sixteen(const srs_lanes& l, std::size_t i, const double* x,
                               std::size_t count)
{
    octet p = load_octet(l, i), q = load_octet(l, i + 8);
    __m512d py = _mm512_loadu_pd(l.y + i), pz = _mm512_loadu_pd(l.z + i);
    __m512d qy = _mm512_loadu_pd(l.y + i + 8), qz = _mm512_loadu_pd(l.z + i + 8);
    for (std::size_t t = 0; t < count; ++t) {
        const __m512d v = _mm512_set1_pd(x[t]);
        step_octet(l, i, v, p, py, pz);
        step_octet(l, i + 8, v, q, qy, qz);
    }
    store_octet(l, i, p, py, pz);
    store_octet(l, i + 8, q, qy, qz);
}

// Sixteen oscillators at a time, then the AVX2 loop for the rest.
ZENTRI_AVX512 void avx512_srs_loop(const srs_lanes& l, std::size_t first, std::size_t last,
                                   const double* x, std::size_t count)
{
    std::size_t i = first;
    for (; i + 16 <= last; i += 16) run_sixteen(l, i, x, count);
    avx_srs_paths.run(l, i, last, x, count);
}

} // namespace

const srs_paths avx512_srs_paths{avx512_srs_loop, avx_srs_paths.filter};

#endif
