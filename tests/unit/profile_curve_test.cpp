// A test profile read from its text: slopes settled into values, straight lines
// on log-log axes between breakpoints, and the rms in closed form.
#include "input/profile_file.h"
#include "readings/profile_curve.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(ProfileCurve, ClassicProfileHasItsRmsAndSlopeLogarithmsAreExact)
{
    const profile_reading classic =
        read_profile_text("20 +3 dB/oct\n80 0.04\n350 0.04 # flat\n2000 -3dB/OCT\n");
    ASSERT_EQ(classic.error, "");
    // Two octaves at +3 dB/oct: 6 dB below 0.04 at 20 Hz.
    EXPECT_NEAR(classic.points[0].value, 0.04 * std::pow(10., -0.6), 1e-15);
    EXPECT_NEAR(std::sqrt(profile_mean_square(classic.points)), 6.064369, 1e-6);

    // 0.04 at 100 Hz to 0.02 at 200 Hz is f^-1: its integral is 0.04 * 100 * ln 2.
    const profile_reading inverse = read_profile_text("100 0.04\n200 0.02\n");
    EXPECT_NEAR(profile_mean_square(inverse.points), 4. * std::log(2.), 1e-15);
    // Just off f^-1 the integral follows the series 4 ln 2 (1 + x/2), x = ln(v1 f1/(v0 f0)).
    const profile_reading near = read_profile_text("100 0.04\n200 0.0200000002\n");
    EXPECT_NEAR(profile_mean_square(near.points) / (4. * std::log(2.) * (1. + 0.5e-8)), 1., 1e-13);
    // A slope after the first line runs from the breakpoint before it: one octave up, 3 dB up.
    const profile_reading middle = read_profile_text("20 0.01\n40 +3 dB/oct\n100 0.04\n");
    EXPECT_NEAR(middle.points[1].value, 0.01 * std::pow(10., 0.3), 1e-15);
}
