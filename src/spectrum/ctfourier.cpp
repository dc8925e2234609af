// ctfourier: the bit-reversed reordering, the twiddle tables and the butterfly stages.
#include "spectrum/ctfourier.h"
#include "platform/console_format.h"
#include "core/analysis_state.h"
#include "spectrum/butterflies.h"
#include "spectrum/segment_power.h"

#include <cmath>
#include <cstring>

fourier_state fourier{};

namespace {

// First stage: butterflies on adjacent pairs, no twiddle factor needed.
void first_stage()
{
    for (std::uint32_t k = 0; k < st.m; k += 2) {
        const complex_entry a = st.seg[k];
        const complex_entry b = st.seg[k + 1];
        st.seg[k].re = static_cast<float>(static_cast<double>(a.re) + b.re);
        st.seg[k].im = static_cast<float>(static_cast<double>(a.im) + b.im);
        st.seg[k + 1].re = static_cast<float>(static_cast<double>(a.re) - b.re);
        st.seg[k + 1].im = static_cast<float>(static_cast<double>(a.im) - b.im);
    }
}

// The twiddle factors of the stage of this span, half of span entries.
complex_entry* stage_table(std::uint32_t span)
{
    return st.stage_twiddle + (span / 2 - 2);
}

// Fills the twiddle table of every stage up to span m with e^(-i*2*pi*t/span),
// t = 0..span/2-1. They are the same for every segment of a run, so they are
// computed once, not per stage of every segment.
void stage_twiddles()
{
    if (st.twiddle_m >= st.m) return;
    for (std::uint32_t span = 4; span <= st.m; span *= 2) {
        complex_entry* w = stage_table(span);
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

// One later stage: butterflies between entries half a span apart.
void later_stage(std::uint32_t span, const complex_entry* table)
{
    const std::uint32_t half = span / 2;
    for (std::uint32_t base = 0; base < st.m; base += span) {
        for (std::uint32_t t = 0; t < half; ++t) {
            complex_entry& up = st.seg[base + t];
            complex_entry& low = st.seg[base + t + half];
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

// Scales the spectrum by 1/m and adds each bin's power to psd.
void scale_and_accumulate()
{
    const float mf = static_cast<float>(st.m);
    for (std::uint32_t k = 0; k < st.m; ++k) {
        const float re = st.seg[k].re / mf;
        const float im = st.seg[k].im / mf;
        st.seg[k].re = re;
        st.seg[k].im = im;
        st.psd[k] += bin_power(re, im);
    }
}

// The AVX2 loops where the build and the processor have them and the segment
// has 4 entries or more; the plain loops otherwise.
const butterfly_passes& chosen_passes()
{
#if ZENTRI_X86_VECTORS
    static const bool has_avx2 = __builtin_cpu_supports("avx2");
    return fourier.vector_allowed && has_avx2 && st.m >= 4 ? avx_butterflies : plain_butterflies;
#else
    return plain_butterflies;
#endif
}

} // namespace

const butterfly_passes plain_butterflies{first_stage, later_stage, scale_and_accumulate};

void allow_vector_butterflies(bool allow)
{
    fourier.vector_allowed = allow;
}

void reorder_input()
{
    // Entries from m on are never written during a run, so clearing the first m clears them all.
    std::memset(st.twiddle, 0, st.m * sizeof st.twiddle[0]);
    const std::uint32_t nm1 = st.nstages;
    const std::uint32_t md2 = st.m / 2;
    zprint("\n nm1= %ld  md2=%ld  ns=%ld ", static_cast<long>(nm1), static_cast<long>(md2),
           static_cast<long>(st.ns));
    // Splitting the segment into even and odd positions, then each half again,
    // nstages times over, leaves in entry j the sample whose index is j with its
    // nstages low bits reversed: that order is built here in one pass over a copy.
    for (std::uint32_t i = 0; i < st.m; ++i) st.twiddle[i].re = st.seg[i].re;
    std::uint32_t r = 0; // j with its bits reversed
    for (std::uint32_t j = 0; j < st.m; ++j) {
        st.seg[j] = {st.twiddle[r].re, 0.f};
        std::uint32_t bit = md2;
        for (; r & bit; bit >>= 1) r ^= bit;
        r |= bit;
    }
}

void ctfourier()
{
    zprint("\n m= %ld  nstages= %ld \n\n", static_cast<long>(st.m), static_cast<long>(st.nstages));
    stage_twiddles();
    const butterfly_passes& passes = chosen_passes();
    passes.first_stage();
    for (std::uint32_t s = 2; s <= st.nstages; ++s) {
        zprint("\n i=%ld / %ld ", static_cast<long>(s), static_cast<long>(st.nstages));
        const std::uint32_t span = 1u << s;
        passes.later_stage(span, stage_table(span));
    }
    zprint("\n m=%d ", static_cast<int>(st.m));
    passes.scale_and_accumulate();
}

void reset_fourier()
{
    fourier = fourier_state{};
}
