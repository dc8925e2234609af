// The later butterfly stages with AVX-512, for stages whose half span holds 4
// entries or more: eight doubles to a register hold four complex entries,
// widened from floats, multiplied and summed as the plain loops do and rounded
// back to float at the same points, so the bits are the same. The other passes
// and the stage of span 4 are the AVX2 loops'.
#include "platform/vector_paths.h"
#include "spectrum/butterflies.h"

#if ZENTRI_X86_VECTORS
#include <immintrin.h>

#define ZENTRI_AVX512 __attribute__((target("avx512f")))

namespace {

// Every lane: the zero-masked forms of the widening, duplicating and permuting
// intrinsics with all lanes kept are the unmasked ones, which g++ 12 reports
// as reading an uninitialised register.
constexpr __mmask8 all_lanes = 0xFF;

// Butterflies between entries half a span apart, four at a time (half >= 4).
ZENTRI_AVX512 void wide_stage(complex_entry* seg, std::uint32_t m, std::uint32_t span,
                              const complex_entry* table)
{
    const std::uint32_t half = span / 2;
    for (std::uint32_t base = 0; base < m; base += span) {
        complex_entry* up = seg + base;
        complex_entry* low = up + half;
        for (std::uint32_t t = 0; t < half; t += 4) {
            const __m512d c = _mm512_maskz_cvtps_pd(all_lanes, _mm256_loadu_ps(&low[t].re));
            const __m512d w = _mm512_maskz_cvtps_pd(all_lanes, _mm256_loadu_ps(&table[t].re));
            // (c.re*w.re, c.im*w.re) and (c.im*w.im, c.re*w.im) of each entry
            const __m512d product_re = _mm512_mul_pd(c, _mm512_maskz_movedup_pd(all_lanes, w));
            const __m512d product_im = _mm512_mul_pd(_mm512_maskz_permute_pd(all_lanes, c, 0x55),
                                                     _mm512_maskz_permute_pd(all_lanes, w, 0xFF));
            // (c.re*w.re - c.im*w.im, c.im*w.re + c.re*w.im), rounded to float
            const __m512d difference = _mm512_sub_pd(product_re, product_im);
            const __m512d sum = _mm512_add_pd(product_re, product_im);
            const __m256 ct =
                _mm512_maskz_cvtpd_ps(all_lanes, _mm512_mask_blend_pd(0xAA, difference, sum));
            // The float sum of two floats is the double sum rounded (see avx_butterflies.cpp).
            const __m256 a = _mm256_loadu_ps(&up[t].re);
            _mm256_storeu_ps(&up[t].re, _mm256_add_ps(a, ct));
            _mm256_storeu_ps(&low[t].re, _mm256_sub_ps(a, ct));
        }
    }
}

// A later stage: four entries at a time where the half span allows, else the AVX2 loop.
void later_stage(complex_entry* seg, std::uint32_t m, std::uint32_t span,
                 const complex_entry* table)
{
    if (span / 2 >= 4)
        wide_stage(seg, m, span, table);
    else
        avx_butterflies.later_stage(seg, m, span, table);
}

} // namespace

const butterfly_passes avx512_butterflies{avx_butterflies.first_stage, later_stage,
                                          avx_butterflies.scale, avx_butterflies.accumulate};
#endif
