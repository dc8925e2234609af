// The input reordering and the single-precision FFT with power accumulation,
// checked against double-precision references and closed-form spectra.
#include "reference_dft.h"
#include "spectrum/ctfourier.h"
#include "state_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double unit_roundoff = 1.0 / 16777216.0; // 2^-24, single precision

// Prepares the record for one segment of 2^stages samples held in x.
void load_segment(unsigned stages, const std::vector<float>& x)
{
    st.nstages = stages;
    st.m = 1u << stages;
    st.nhs = st.m / 2;
    st.ns = st.m;
    for (unsigned i = 0; i < st.m; ++i) st.seg[i] = {x[i], 0.f};
}

// Reorders and transforms the loaded segment as the driver does; returns the console text.
std::string transform()
{
    return console_of([] {
        reorder_input();
        std::memset(st.twiddle, 0, sizeof st.twiddle);
        ctfourier();
    });
}

// Uniform random samples in [-scale, scale], held as floats.
std::vector<float> random_samples(unsigned m, unsigned seed, float scale = 1.f)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> dist(-scale, scale);
    std::vector<float> x(m);
    for (float& v : x) v = dist(gen);
    return x;
}

// Norm of the difference between seg and a reference spectrum over bins 0..m-1.
double error_norm(const std::vector<cplx>& ref)
{
    double sum = 0.;
    for (std::size_t k = 0; k < ref.size(); ++k)
        sum += std::norm(cplx(st.seg[k].re, st.seg[k].im) - ref[k]);
    return std::sqrt(sum);
}

// Largest distance between seg and a reference spectrum over bins 0..m-1.
double max_bin_error(const std::vector<cplx>& ref)
{
    double worst = 0.;
    for (std::size_t k = 0; k < ref.size(); ++k)
        worst = std::max(worst, std::abs(cplx(st.seg[k].re, st.seg[k].im) - ref[k]));
    return worst;
}

// Square root of the segment's total power, sum over bins of |X(k)|^2.
double spectrum_norm(const std::vector<cplx>& ref)
{
    double sum = 0.;
    for (const cplx& v : ref) sum += std::norm(v);
    return std::sqrt(sum);
}

class Ctfourier : public ::testing::Test {
protected:
    void SetUp() override { reset_state(); }
};

// Every segment length from 2 to 65536 on random input. The bound is the
// classical one for a radix-2 FFT in floating point: the error vector's norm is
// at most log2(m) * eta * ||X||, with eta about u + 4u*sqrt(2) (twiddle rounding
// plus the rounded products and sums of a butterfly). Here the butterfly rounds
// twice more (tr/ti to float, then the stored sum), so eta is taken as 8u. A
// single bin's error cannot exceed the norm of the whole error vector. Rounding
// errors that behave well stay far inside it: the error vector's norm is also
// held to a quarter of the bound (observed: 0.15 to 0.23 u*log2(m)*||X||).
TEST_F(Ctfourier, EveryLengthMatchesDoubleReferenceWithinSinglePrecision)
{
    for (unsigned stages = 1; stages <= 16; ++stages) {
        const unsigned m = 1u << stages;
        const std::vector<float> x = random_samples(m, 1000 + stages);
        load_segment(stages, x);
        std::memset(st.psd, 0, sizeof st.psd);
        transform();
        const std::vector<cplx> ref = reference_transform(std::vector<double>(x.begin(), x.end()));
        const double norm = spectrum_norm(ref);
        const double bound = 8. * unit_roundoff * stages * norm;
        EXPECT_LE(max_bin_error(ref), bound) << "m = " << m;
        EXPECT_LE(error_norm(ref), bound / 4.) << "m = " << m;
        double worst_power = 0.;
        for (unsigned k = 0; k < m; ++k)
            worst_power = std::max(worst_power, std::fabs(st.psd[k] - std::norm(ref[k])));
        EXPECT_LE(worst_power, (2. * norm + bound) * bound) << "m = " << m;
    }
}

// FNV-1a over the bits of the spectrum and the power of two segments.
std::uint64_t spectrum_hash()
{
    std::uint64_t h = 14695981039346656037ull;
    const auto mix = [&h](const void* p, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i)
            h = (h ^ static_cast<const unsigned char*>(p)[i]) * 1099511628211ull;
    };
    mix(st.seg, st.m * sizeof st.seg[0]);
    mix(st.psd, st.m * sizeof st.psd[0]);
    return h;
}

// Every length gives, bit for bit, the spectrum and power that the plain
// stage-by-stage butterflies gave when these values were taken, with the
// vector loops (where the processor has them) and without: however the loops
// are arranged, each product and sum must round at the same points.
TEST_F(Ctfourier, EveryLengthKeepsItsBits)
{
    // clang-format off
    const std::uint64_t expect[17] = {
        0, 0x401869051c02697eull, 0xbb2ba6197c4c7b25ull, 0x825aaad04df703cfull,
        0x215b1dc2fca1b376ull, 0x5e98e2545888a513ull, 0xfe138065966c5515ull, 0xc6eb61447d31449aull,
        0xc9ed993fabbf90d9ull, 0xce5f4100efea9c87ull, 0xd5bc517a413e5d59ull, 0x77d39c7f79be587aull,
        0x0229dd9cfda8b355ull, 0xccaf1192c00330e8ull, 0x40b81a61a29b8278ull, 0xc117091d391927d3ull,
        0x70d5a4b2d7ffac3cull,
    };
    // clang-format on
    // The widest loops the processor has, the AVX2 loops, the plain loops.
    const char* const loops[] = {"widest loops", "AVX2 loops", "plain loops"};
    for (int path = 0; path < 3; ++path) {
        allow_wide_butterflies(path == 0);
        allow_vector_butterflies(path < 2);
        for (unsigned stages = 1; stages <= 16; ++stages) {
            std::memset(st.psd, 0, sizeof st.psd);
            for (unsigned segment = 0; segment < 2; ++segment) {
                load_segment(stages, random_samples(1u << stages, 50 * stages + segment, 4.f));
                transform();
            }
            EXPECT_EQ(spectrum_hash(), expect[stages])
                << "m = " << (1u << stages) << ", " << loops[path];
        }
    }
    allow_wide_butterflies(true);
    allow_vector_butterflies(true);
}

// m = 2: only the first stage runs and no stage line is printed.
TEST_F(Ctfourier, TwoSamplesGiveHalfSumAndHalfDifference)
{
    load_segment(1, {3.f, 5.f});
    const std::string text = transform();
    EXPECT_EQ(text, "\n nm1= 1  md2=1  ns=2 \n m= 2  nstages= 1 \n\n\n m=2 ");
    EXPECT_EQ(st.seg[0].re, 4.f);
    EXPECT_EQ(st.seg[1].re, -1.f);
    EXPECT_EQ(st.seg[0].im, 0.f);
    EXPECT_EQ(st.seg[1].im, 0.f);
    EXPECT_EQ(st.psd[0], 16.);
    EXPECT_EQ(st.psd[1], 1.);
}

// A constant v puts v into bin 0 and nothing elsewhere; psd(0) grows by v^2 per segment.
TEST_F(Ctfourier, ConstantSegmentFillsOnlyBinZero)
{
    const float v = -0.375f;
    for (int segment = 1; segment <= 3; ++segment) {
        load_segment(10, std::vector<float>(1024, v));
        transform();
        EXPECT_EQ(st.seg[0].re, v);
        EXPECT_EQ(st.seg[0].im, 0.f);
        for (unsigned k = 1; k < 1024; ++k) {
            ASSERT_EQ(st.seg[k].re, 0.f) << k;
            ASSERT_EQ(st.seg[k].im, 0.f) << k;
            ASSERT_EQ(st.psd[k], 0.) << k;
        }
        EXPECT_EQ(st.psd[0], segment * (double(v) * v));
    }
}

// cos(2*pi*k0*n/m) gives 1/2 in bins k0 and m-k0 and about 0 elsewhere.
TEST_F(Ctfourier, CosineAtBinGivesHalfInTwoBins)
{
    const unsigned stages = 12, m = 1u << stages, k0 = 37;
    std::vector<float> x(m);
    for (unsigned n = 0; n < m; ++n)
        x[n] = static_cast<float>(std::cos(2. * std::acos(-1.) * k0 * n / m));
    load_segment(stages, x);
    transform();
    const double bound = 8. * unit_roundoff * stages * std::sqrt(0.5);
    for (unsigned k = 0; k < m; ++k) {
        const double expect = (k == k0 || k == m - k0) ? 0.5 : 0.;
        ASSERT_NEAR(st.seg[k].re, expect, bound) << k;
        ASSERT_NEAR(st.seg[k].im, 0., bound) << k;
    }
}

// For real input bin m-k is the conjugate of bin k, so both receive the same power.
TEST_F(Ctfourier, MirrorBinsReceiveEqualPower)
{
    for (unsigned stages : {3u, 9u, 14u}) {
        const unsigned m = 1u << stages;
        std::memset(st.psd, 0, sizeof st.psd);
        load_segment(stages, random_samples(m, 7 + stages, 3.f));
        transform();
        double total = 0.;
        for (unsigned k = 0; k < m; ++k) total += st.psd[k];
        for (unsigned k = 1; k < m / 2; ++k) {
            ASSERT_NEAR(st.seg[k].re, st.seg[m - k].re,
                        8. * unit_roundoff * stages * std::sqrt(total))
                << "m = " << m << " k = " << k;
            ASSERT_NEAR(st.seg[k].im, -st.seg[m - k].im,
                        8. * unit_roundoff * stages * std::sqrt(total));
            ASSERT_NEAR(st.psd[k], st.psd[m - k], 32. * unit_roundoff * stages * total)
                << "m = " << m << " k = " << k;
        }
    }
}

// Whatever imaginary parts the segment holds before reordering, the result is the same.
TEST_F(Ctfourier, ImaginaryPartsBeforeReorderingAreDiscarded)
{
    const std::vector<float> x = random_samples(256, 99);
    load_segment(8, x);
    transform();
    std::vector<complex_entry> clean(st.seg, st.seg + 256);
    const double p5 = st.psd[5];

    std::memset(st.psd, 0, sizeof st.psd);
    load_segment(8, x);
    for (unsigned i = 0; i < 256; ++i) st.seg[i].im = 1000.f + i;
    transform();
    for (unsigned k = 0; k < 256; ++k) {
        ASSERT_EQ(st.seg[k].re, clean[k].re) << k;
        ASSERT_EQ(st.seg[k].im, clean[k].im) << k;
    }
    EXPECT_EQ(st.psd[5], p5);
}

// The reordering leaves x(r(j)) in entry j, r reversing the low nstages bits.
TEST_F(Ctfourier, ReorderingIsBitReversal)
{
    const unsigned stages = 6, m = 64;
    std::vector<float> x(m);
    for (unsigned i = 0; i < m; ++i) x[i] = static_cast<float>(i);
    load_segment(stages, x);
    for (unsigned i = 0; i < m; ++i) st.seg[i].im = -1.f;
    console_of([] { reorder_input(); });
    for (unsigned j = 0; j < m; ++j) {
        unsigned r = 0;
        for (unsigned b = 0; b < stages; ++b) r |= ((j >> b) & 1u) << (stages - 1 - b);
        ASSERT_EQ(st.seg[j].re, static_cast<float>(r)) << j;
        ASSERT_EQ(st.seg[j].im, 0.f) << j;
    }
}

// The progress lines: the reordering line with ns, the entry line, one line per
// stage from stage 2 on, and the line before the scaling.
TEST_F(Ctfourier, ProgressLines)
{
    load_segment(3, random_samples(8, 3));
    EXPECT_EQ(transform(), "\n nm1= 3  md2=4  ns=8 "
                           "\n m= 8  nstages= 3 \n\n"
                           "\n i=2 / 3 "
                           "\n i=3 / 3 "
                           "\n m=8 ");

    load_segment(5, random_samples(32, 4));
    st.ns = 16; // a later segment reports its new samples
    std::string expect = "\n nm1= 5  md2=16  ns=16 \n m= 32  nstages= 5 \n\n";
    for (int s = 2; s <= 5; ++s) expect += "\n i=" + std::to_string(s) + " / 5 ";
    expect += "\n m=32 ";
    EXPECT_EQ(transform(), expect);
}

} // namespace
