// The resonance and Q of H1 over worked examples: a triangular |H1| whose
// half-power points lie between bins, incoherent bins left out, and sides the
// curve does not fall on.
#include "readings/resonance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// Summed spectra of 21 bins, df = 1 Hz, with Gxx = 1 and H1 = Gxy = h (real);
// Gyy = h^2 makes a bin fully coherent, a larger Gyy lowers its coherence.
struct spectra {
    std::vector<double> gxx = std::vector<double>(21, 1.);
    std::vector<double> gyy = std::vector<double>(21, 0.);
    std::vector<double> gxy = std::vector<double>(42, 0.);
    void set(std::uint32_t k, double h, double coherence)
    {
        gxy[2 * k] = h;
        gyy[k] = h * h / coherence;
    }
    cross_view view() const { return {gxx.data(), gyy.data(), gxy.data(), 21, 1.}; }
};

// |H1| = 8 - |k - 10|: the peak of 8 at 10 Hz, half power 8/sqrt(2) crossed
// 8 - 8/sqrt(2) Hz on either side, so Q = 10 / (16 (1 - 1/sqrt(2))).
spectra triangle()
{
    spectra s;
    for (std::uint32_t k = 0; k < 21; ++k) s.set(k, 8. - std::fabs(k - 10.), 1.);
    return s;
}

const double triangle_q = 10. / (16. * (1. - 1. / std::sqrt(2.)));

} // namespace

TEST(Resonance, PeakAndHalfPowerQOfCoherentBins)
{
    spectra s = triangle();
    s.set(15, 20., 0.5); // larger, but not coherent: left out
    resonance r = find_resonance(s.view());
    EXPECT_EQ(r.frequency, 10.);
    EXPECT_DOUBLE_EQ(r.magnitude, 8.);
    EXPECT_DOUBLE_EQ(r.coherence, 1.);
    ASSERT_TRUE(r.has_q);
    EXPECT_NEAR(r.q, triangle_q, 1e-12);
    EXPECT_TRUE(r.coherent);

    for (std::uint32_t k = 0; k < 21; ++k) s.set(k, 8. - std::fabs(k - 10.), 0.5);
    s.set(15, 20., 0.25); // no bin coherent: the largest of all
    r = find_resonance(s.view());
    EXPECT_EQ(r.frequency, 15.);
    EXPECT_DOUBLE_EQ(r.coherence, 0.25);
    EXPECT_FALSE(r.coherent);
}

TEST(Resonance, NoQWhenASideIsNotReachedAndPhaseInItsRange)
{
    spectra s = triangle();
    for (std::uint32_t k = 11; k < 21; ++k) s.set(k, 8. - 0.1 * (k - 10.), 1.); // stays high above
    EXPECT_FALSE(find_resonance(s.view()).has_q);
    s = triangle();
    s.set(2, 7.9, 1.); // bin 0 (the mean) is not a side: 1 Hz is the lowest
    s.set(1, 7.8, 1.);
    s.set(0, 0., 1.);
    for (std::uint32_t k = 3; k < 10; ++k) s.set(k, 7.95, 1.);
    EXPECT_FALSE(find_resonance(s.view()).has_q);

    s.gxy[0] = -2.;
    s.gxy[1] = -0.; // on the negative real axis from below: 180, not -180
    s.gxy[2] = 0.;
    s.gxy[3] = -3.;
    EXPECT_EQ(h1_phase(s.view(), 0), 180.);
    EXPECT_EQ(h1_phase(s.view(), 1), -90.);
}
