// ctfourier: the bit-reversed reordering, the twiddle tables and the butterfly stages.
#include "spectrum/ctfourier.h"
#include "core/analysis_state.h"
#include "platform/console_format.h"
#include "spectrum/butterflies.h"
#include "spectrum/segment_power.h"

#include <cmath>
#include <cstring>

fourier_state fourier{};

namespace {

// First stage: butterflies on adjacent pairs, no twiddle factor needed.
void first_stage(complex_entry* seg, std::uint32_t m)
{
    for (std::uint32_t k = 0; k < m; k += 2) {
        const complex_entry a = seg[k];
        const complex_entry b = seg[k + 1];
        seg[k].re = static_cast<float>(static_cast<double>(a.re) + b.re);
        seg[k].im = static_cast<float>(static_cast<double>(a.im) + b.im);
        seg[k + 1].re = static_cast<float>(static_cast<double>(a.re) - b.re);
        seg[k + 1].im = static_cast<float>(static_cast<double>(a.im) - b.im);
    }
}

// The twiddle factors of the stage of this span, half of span entries.
const complex_entry* stage_table(std::uint32_t span)
{
    return st.stage_twiddle + (span / 2 - 2);
}

// One later stage: butterflies between entries half a span apart.
void later_stage(complex_entry* seg, std::uint32_t m, std::uint32_t span,
                 const complex_entry* table)
{
    const std::uint32_t half = span / 2;
    for (std::uint32_t base = 0; base < m; base += span) {
        for (std::uint32_t t = 0; t < half; ++t) {
            complex_entry& up = seg[base + t];
            complex_entry& low = seg[base + t + half];
            const complex_entry w = table[t];
            const float tr = static_cast<float>(static_cast<double>(low.re) * w.re -
                                                static_cast<double>(low.im) * w.im);
            const float ti = static_cast<float>(static_cast<double>(low.im) * w.re +
                                                static_cast<double>(low.re) * w.im);
            const complex_entry a = up;
            up.re = static_cast<float>(static_cast<double>(a.re) + tr);
            up.im = static_cast<float>(static_cast<double>(a.im) + ti);
            low.re = static_cast<float>(static_cast<double>(a.re) - tr);
            low.im = static_cast<float>(static_cast<double>(a.im) - ti);
        }
    }
}

// Scales the spectrum by 1/m.
void scale(complex_entry* seg, std::uint32_t m)
{
    const float mf = static_cast<float>(m);
    for (std::uint32_t k = 0; k < m; ++k) {
        seg[k].re = seg[k].re / mf;
        seg[k].im = seg[k].im / mf;
    }
}

// Adds each bin's power to psd.
void accumulate(const complex_entry* seg, double* psd, std::uint32_t m)
{
    for (std::uint32_t k = 0; k < m; ++k) {
        const float re = seg[k].re;
        const float im = seg[k].im;
        psd[k] += bin_power(re, im);
    }
}

// The widest loops the build and the processor have (AVX-512, then AVX2) where
// the segment has 4 entries or more; the plain loops otherwise.
const butterfly_passes& chosen_passes(std::uint32_t m)
{
#if ZENTRI_X86_VECTORS
    static const bool has_avx2 = __builtin_cpu_supports("avx2");
    static const bool has_avx512 = has_avx2 && __builtin_cpu_supports("avx512f");
    if (!fourier.vector_allowed || !has_avx2 || m < 4) return plain_butterflies;
    return fourier.wide_allowed && has_avx512 ? avx512_butterflies : avx_butterflies;
#else
    (void)m;
    return plain_butterflies;
#endif
}

// Makes the table of reorder_first_stage(): entry i is 2i with the nstages
// low bits reversed, the sample that lands in entry 2i of the reordered segment.
void prepare_bit_reversal()
{
    if (fourier.reversed.size() == st.m / 2) return;
    fourier.reversed.resize(st.m / 2);
    const std::uint32_t md2 = st.m / 2;
    std::uint32_t r = 0; // j with its bits reversed
    for (std::uint32_t j = 0; j < st.m; ++j) {
        if (j % 2 == 0) fourier.reversed[j / 2] = r;
        std::uint32_t bit = md2;
        for (; r & bit; bit >>= 1) r ^= bit;
        r |= bit;
    }
}

} // namespace

const butterfly_passes plain_butterflies{first_stage, later_stage, scale, accumulate};

void allow_vector_butterflies(bool allow)
{
    fourier.vector_allowed = allow;
}

void allow_wide_butterflies(bool allow)
{
    fourier.wide_allowed = allow;
}

void prepare_stage_twiddles()
{
    prepare_bit_reversal();
    if (st.twiddle_m >= st.m) return;
    for (std::uint32_t span = 4; span <= st.m; span *= 2) {
        complex_entry* w = st.stage_twiddle + (span / 2 - 2);
        for (std::uint32_t t = 0; t < span / 2; ++t) {
            const double x = (t * st.tpi) / span;
            double s, c;
            sincos(x, &s, &c);
            w[t].re = static_cast<float>(c);
            w[t].im = static_cast<float>(-s);
        }
    }
    st.twiddle_m = st.m;
}

void reorder_segment(complex_entry* seg, const complex_entry* samples)
{
    // Splitting the segment into even and odd positions, then each half again,
    // nstages times over, leaves in entry j the sample whose index is j with its
    // nstages low bits reversed: entry 2i the sample of the table's entry i,
    // entry 2i+1 the one m/2 after it.
    prepare_bit_reversal();
    const std::uint32_t half = st.m / 2;
    for (std::uint32_t i = 0; i < half; ++i) {
        seg[2 * std::size_t{i}] = {samples[fourier.reversed[i]].re, 0.f};
        seg[2 * std::size_t{i} + 1] = {samples[fourier.reversed[i] + half].re, 0.f};
    }
}

void reorder_first_stage(complex_entry* seg, const float* samples)
{
    // Entry 2i takes sample r = reversed[i] and entry 2i+1 sample r + m/2; both
    // imaginary parts are zero, so the first stage's butterfly is a sum and a
    // difference of the two samples, rounded as first_stage() rounds them.
    const std::uint32_t half = st.m / 2;
    const std::uint32_t* reversed = fourier.reversed.data();
    for (std::uint32_t i = 0; i < half; ++i, seg += 2) {
        const double a = samples[reversed[i]];
        const float b = samples[reversed[i] + half];
        seg[0] = {static_cast<float>(a + b), 0.f};
        seg[1] = {static_cast<float>(a - b), 0.f};
    }
}

void fourier_stages(complex_entry* seg)
{
    chosen_passes(st.m).first_stage(seg, st.m);
    later_fourier_stages(seg);
}

void later_fourier_stages(complex_entry* seg)
{
    const butterfly_passes& passes = chosen_passes(st.m);
    for (std::uint32_t s = 2; s <= st.nstages; ++s) {
        const std::uint32_t span = 1u << s;
        passes.later_stage(seg, st.m, span, stage_table(span));
    }
    passes.scale(seg, st.m);
}

void add_power(const complex_entry* spectrum, double* psd)
{
    chosen_passes(st.m).accumulate(spectrum, psd, st.m);
}

void narrate_reordering()
{
    zprint("\n nm1= %ld  md2=%ld  ns=%ld ", static_cast<long>(st.nstages),
           static_cast<long>(st.m / 2), static_cast<long>(st.ns));
}

void narrate_ctfourier()
{
    zprint("\n m= %ld  nstages= %ld \n\n", static_cast<long>(st.m), static_cast<long>(st.nstages));
    for (std::uint32_t s = 2; s <= st.nstages; ++s)
        zprint("\n i=%ld / %ld ", static_cast<long>(s), static_cast<long>(st.nstages));
    zprint("\n m=%d ", static_cast<int>(st.m));
}

void reorder_input()
{
    // Entries from m on are never written during a run, so clearing the first m clears them all.
    std::memset(st.twiddle, 0, st.m * sizeof st.twiddle[0]);
    narrate_reordering();
    for (std::uint32_t i = 0; i < st.m; ++i) st.twiddle[i].re = st.seg[i].re;
    reorder_segment(st.seg, st.twiddle);
}

void ctfourier()
{
    narrate_ctfourier();
    prepare_stage_twiddles();
    fourier_stages(st.seg);
    add_power(st.seg, st.psd);
}

void reset_fourier()
{
    fourier = fourier_state{};
}
