// Segment conditioning: mean removal, the Hanning window and conversion to SI units.
#include "state_fixture.h"
#include "spectrum/conditioning.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// Fills seg entries 0..m-1 with x, every imaginary part and every entry from m on with markers.
void load_segment(const std::vector<float>& x)
{
    st.m = static_cast<std::uint32_t>(x.size());
    for (std::uint32_t i = 0; i < seg_entries; ++i) st.seg[i] = {-7.f, 0.25f + i};
    for (std::uint32_t i = 0; i < st.m; ++i) st.seg[i].re = x[i];
}

// Checks that the imaginary parts and the entries from m on still hold their markers.
void expect_rest_untouched()
{
    for (std::uint32_t i = 0; i < seg_entries; ++i) {
        ASSERT_EQ(st.seg[i].im, 0.25f + i) << i;
        if (i >= st.m) {
            ASSERT_EQ(st.seg[i].re, -7.f) << i;
        }
    }
}

// Random floats spread over several decades, both signs.
std::vector<float> decade_samples(unsigned m, unsigned seed)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> mant(-1., 1.);
    std::uniform_int_distribution<int> exp10(-4, 4);
    std::vector<float> x(m);
    for (float& v : x) v = static_cast<float>(mant(gen) * std::pow(10., exp10(gen)));
    return x;
}

class Conditioning : public ::testing::Test {
protected:
    void SetUp() override { reset_state(); }
};

// A segment whose samples all equal the mean becomes zeros.
TEST_F(Conditioning, MeanRemovalOfConstantGivesZeros)
{
    load_segment(std::vector<float>(512, 0.1f));
    st.ave = static_cast<double>(0.1f);
    EXPECT_EQ(console_of(remove_mean), "\n mean removal");
    for (unsigned i = 0; i < 512; ++i) ASSERT_EQ(st.seg[i].re, 0.f) << i;
    expect_rest_untouched();
}

// The samples 0..m-1 less their mean (m-1)/2 are exactly i - (m-1)/2.
TEST_F(Conditioning, MeanRemovalSubtractsInDouble)
{
    std::vector<float> x(64);
    for (unsigned i = 0; i < 64; ++i) x[i] = static_cast<float>(i);
    load_segment(x);
    st.ave = 31.5;
    console_of(remove_mean);
    for (unsigned i = 0; i < 64; ++i) ASSERT_EQ(st.seg[i].re, i - 31.5f) << i;
    // A difference is formed in double and rounded once: 1 - 1e-9 rounds back to 1.
    load_segment(std::vector<float>(4, 1.f));
    st.ave = 1e-9;
    console_of(remove_mean);
    EXPECT_EQ(st.seg[0].re, 1.f);
    expect_rest_untouched();
}

// Entry 0 gets weight 0 and entry m/2 the full scale sqrt(8/3), for every m.
TEST_F(Conditioning, HanningEndsAndCentre)
{
    const double scale = 1.6329931618554521; // sqrt(8/3)
    for (unsigned m = 2; m <= 65536; m *= 2) {
        const std::vector<float> x = decade_samples(m, m);
        load_segment(x);
        st.hann_scale = 99.;
        EXPECT_EQ(console_of(apply_hanning), "\n Hanning window ");
        EXPECT_EQ(st.hann_scale, scale);
        EXPECT_EQ(st.seg[0].re, 0.f) << m;
        EXPECT_EQ(st.seg[m / 2].re, static_cast<float>(x[m / 2] * scale)) << m;
    }
    expect_rest_untouched();
}

// The window is periodic of length m: symmetric about m/2, not zero at m-1,
// and (for m >= 4) its mean square is exactly 1, so the power is restored.
TEST_F(Conditioning, HanningIsPeriodicAndRestoresPower)
{
    const double pi = std::acos(-1.);
    for (unsigned m : {4u, 8u, 1024u, 65536u}) {
        load_segment(std::vector<float>(m, 1.f));
        console_of(apply_hanning);
        double power = 0.;
        for (unsigned i = 0; i < m; ++i) power += double(st.seg[i].re) * st.seg[i].re;
        EXPECT_NEAR(power / m, 1., 1e-6) << m;
        for (unsigned i = 1; i < m / 2; ++i)
            ASSERT_NEAR(st.seg[i].re, st.seg[m - i].re, 2e-7) << m << " " << i;
        const double s = std::sin(pi / m);
        EXPECT_NEAR(st.seg[m - 1].re, std::sqrt(8. / 3.) * s * s, 2e-7) << m;
        EXPECT_GT(st.seg[m - 1].re, 0.f);
    }
}

// With m = 2 entry 0 becomes 0 and entry 1 is multiplied by sqrt(8/3).
TEST_F(Conditioning, HanningOfTwoSamples)
{
    load_segment({5.f, -3.f});
    console_of(apply_hanning);
    EXPECT_EQ(st.seg[0].re, 0.f);
    EXPECT_EQ(st.seg[1].re, static_cast<float>(-3. * 1.6329931618554521));
    expect_rest_untouched();
}

// A quantity and unit of the conversion table with its factor to SI units.
struct conversion {
    int type;
    int unit;
    double factor;
};

// Every row of the conversion table: each sample becomes the float nearest
// sample * factor, the factor being the exact double given here. Over 4096
// random samples a factor off by a few parts in 10^8 shows: 0.001 or 1e-6 held
// as doubles instead of floats would be caught.
TEST_F(Conditioning, ConversionFactors)
{
    const conversion table[] = {
        {1, 1, 9.81},
        {2, 1, 0.0254},
        {3, 1, 0.0254},
        {3, 2, 0.0254 / 1000.},
        {3, 3, 0.0254 / 1000000.},
        {3, 5, 0.0010000000474974513}, // 0.001 held as a float
        {3, 6, 9.999999974752427e-07}, // 1e-6 held as a float
        {4, 1, 4.448},
        {5, 1, 6897.},
    };
    const std::vector<float> x = decade_samples(4096, 11);
    for (const conversion& c : table) {
        load_segment(x);
        st.input_type = c.type;
        st.input_unit = c.unit;
        EXPECT_EQ(console_of(convert_to_si), "\n unit conversion");
        int wrong = 0;
        for (unsigned i = 0; i < 4096; ++i) wrong += st.seg[i].re != static_cast<float>(x[i] * c.factor);
        EXPECT_EQ(wrong, 0) << "quantity " << c.type << " unit " << c.unit;
        expect_rest_untouched();
    }
}

// Quantities already in SI units pass bit-identical, with the message printed.
TEST_F(Conditioning, SiQuantitiesLeftUnchanged)
{
    const int si[][2] = {{1, 2}, {2, 2}, {3, 4}, {4, 2}, {5, 2}, {6, 0}, {6, 3}};
    const std::vector<float> x = decade_samples(1024, 12);
    for (const auto& q : si) {
        load_segment(x);
        st.input_type = q[0];
        st.input_unit = q[1];
        EXPECT_EQ(console_of(convert_to_si), "\n unit conversion");
        for (unsigned i = 0; i < 1024; ++i)
            ASSERT_EQ(std::memcmp(&st.seg[i].re, &x[i], sizeof(float)), 0) << q[0] << " " << q[1];
        expect_rest_untouched();
    }
}

} // namespace
