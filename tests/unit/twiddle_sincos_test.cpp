// The stage twiddles take cos and sin of one argument with a single sincos
// call. On this machine that must give bit for bit what separate sin and cos
// calls give, for every argument (t * tpi) / span the transform uses and for
// many others; otherwise the spectrum would depend on the choice.
#include "core/analysis_state.h"
#include "state_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// Called through pointers so the compiler cannot merge them into one sincos.
double (*volatile sine)(double) = std::sin;
double (*volatile cosine)(double) = std::cos;

// Bits of a double.
std::uint64_t bits_of(double v)
{
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

// Counts the arguments where sincos differs from sin and cos in any bit.
long differences(double x)
{
    double s, c;
    sincos(x, &s, &c);
    return (bits_of(s) != bits_of(sine(x))) + (bits_of(c) != bits_of(cosine(x)));
}

TEST(TwiddleSincos, SameBitsAsSeparateSinAndCos)
{
    reset_state(); // sets tpi as the program does
    long arguments = 0;
    long differing = 0;
    // Every argument of every stage of every segment length, and the other halves of the spans.
    for (std::uint32_t span = 2; span <= 131072; span *= 2) {
        for (std::uint32_t t = 0; t < span; ++t) {
            differing += differences((t * st.tpi) / span);
            ++arguments;
        }
    }
    // Other spans, and arguments spread far beyond one turn.
    for (std::uint32_t span = 3; span < 5000; span += 7) {
        for (std::uint32_t t = 0; t < span; t += 3) {
            differing += differences((t * st.tpi) / span);
            differing += differences((t * st.tpi) / span * 1000.);
            arguments += 2;
        }
    }
    EXPECT_GT(arguments, 1000000);
    EXPECT_EQ(differing, 0);
}

} // namespace
