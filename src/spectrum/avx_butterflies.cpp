// The butterfly loops with AVX2, for segments of 4 entries or more: four doubles to a register hold
// two complex entries, widened from floats, multiplied and summed as the plain loops do and rounded
// back to float at the same points, so the bits are the same.
#include "platform/vector_paths.h"
#include "spectrum/butterflies.h"

#if ZENTRI_X86_VECTORS
#include <immintrin.h>

#define ZENTRI_AVX __attribute__((target("avx2")))

namespace {

// Two complex entries at p, widened to double.
ZENTRI_AVX inline __m256d load_two(const complex_entry* p)
{
    return _mm256_cvtps_pd(_mm_loadu_ps(&p->re));
}

// Rounds two complex entries to float and stores them at p.
ZENTRI_AVX inline void store_two(complex_entry* p, __m256d v)
{
    _mm_storeu_ps(&p->re, _mm256_cvtpd_ps(v));
}

// Adjacent pairs (a, b) become (a + b, a - b).
ZENTRI_AVX void first_stage(complex_entry* seg, std::uint32_t m)
{
    for (std::uint32_t k = 0; k < m; k += 2) {
        const __m256d ab = load_two(seg + k);
        const __m256d ba = _mm256_permute2f128_pd(ab, ab, 1);
        // lanes 0, 1: a + b; lanes 2, 3: a - b (ba holds a there, ab holds b)
        store_two(seg + k, _mm256_blend_pd(_mm256_add_pd(ab, ba), _mm256_sub_pd(ba, ab), 0xC));
    }
}

// Butterflies between entries half a span apart, two at a time (half >= 2).
ZENTRI_AVX void later_stage(complex_entry* seg, std::uint32_t m, std::uint32_t span,
                            const complex_entry* table)
{
    const std::uint32_t half = span / 2;
    for (std::uint32_t base = 0; base < m; base += span) {
        complex_entry* up = seg + base;
        complex_entry* low = up + half;
        for (std::uint32_t t = 0; t < half; t += 2) {
            const __m256d c = load_two(low + t);
            const __m256d w = load_two(table + t);
            const __m256d product_re = _mm256_mul_pd(c, _mm256_movedup_pd(w));
            const __m256d product_im =
                _mm256_mul_pd(_mm256_permute_pd(c, 0x5), _mm256_permute_pd(w, 0xF));
            // (c.re*w.re - c.im*w.im, c.im*w.re + c.re*w.im), rounded to float
            const __m128 ct = _mm256_cvtpd_ps(_mm256_addsub_pd(product_re, product_im));
            // A sum of two floats formed in double and rounded to float is the
            // float sum itself (a double holds more than twice a float's
            // digits, so the second rounding cannot differ): single precision
            // gives the same bits here with fewer conversions.
            const __m128 a = _mm_loadu_ps(&up[t].re);
            _mm_storeu_ps(&up[t].re, _mm_add_ps(a, ct));
            _mm_storeu_ps(&low[t].re, _mm_sub_ps(a, ct));
        }
    }
}

// Divides every part by m as a float, four entries at a time.
ZENTRI_AVX void scale(complex_entry* seg, std::uint32_t m)
{
    const __m256 mf = _mm256_set1_ps(static_cast<float>(m));
    for (std::uint32_t k = 0; k < m; k += 4)
        _mm256_storeu_ps(&seg[k].re, _mm256_div_ps(_mm256_loadu_ps(&seg[k].re), mf));
}

// Adds re^2 + im^2 of every bin to psd, four bins at a time.
ZENTRI_AVX void accumulate(const complex_entry* seg, double* psd, std::uint32_t m)
{
    for (std::uint32_t k = 0; k < m; k += 4) {
        const __m256 x = _mm256_loadu_ps(&seg[k].re);
        const __m256d x01 = _mm256_cvtps_pd(_mm256_castps256_ps128(x));
        const __m256d x23 = _mm256_cvtps_pd(_mm256_extractf128_ps(x, 1));
        // re^2 + im^2 of bins 0, 2, 1, 3, put in order
        const __m256d p = _mm256_hadd_pd(_mm256_mul_pd(x01, x01), _mm256_mul_pd(x23, x23));
        const __m256d bins = _mm256_permute4x64_pd(p, 0xD8);
        _mm256_storeu_pd(psd + k, _mm256_add_pd(_mm256_loadu_pd(psd + k), bins));
    }
}

} // namespace

const butterfly_passes avx_butterflies{first_stage, later_stage, scale, accumulate};
#endif
