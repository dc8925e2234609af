// The resonance and Q of H1 over worked examples: a triangular |H1| with its
// half-power points between bins, incoherent bins left out, sides not reached.
#include "readings/resonance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// 21 bins, df = 1 Hz, Gxx = 1, H1 = Gxy = h (real), Gyy = h^2 / coherence.
struct spectra {
    std::vector<double> gxx = std::vector<double>(21, 1.), gyy = gxx;
    std::vector<double> gxy = std::vector<double>(42, 0.);
    void set(std::uint32_t k, double h, double coh) { gxy[2 * k] = h, gyy[k] = h * h / coh; }
    resonance find() const { return find_resonance({gxx.data(), gyy.data(), gxy.data(), 21, 1.}); }
};

// |H1| = 8 - |k - 10|: half power 8/sqrt(2) is crossed 8 - 8/sqrt(2) Hz from the peak.
spectra triangle(double coh)
{
    spectra s;
    for (std::uint32_t k = 0; k < 21; ++k) s.set(k, 8. - std::fabs(k - 10.), coh);
    return s;
}

} // namespace

TEST(Resonance, PeakAndHalfPowerQOfCoherentBins)
{
    spectra s = triangle(1.);
    s.set(15, 20., 0.5); // larger, but not coherent: left out
    resonance r = s.find();
    EXPECT_EQ(r.frequency, 10.);
    EXPECT_TRUE(r.has_q && r.coherent && r.magnitude == 8.);
    EXPECT_NEAR(r.q, 10. / (16. * (1. - 1. / std::sqrt(2.))), 1e-12);
    s = triangle(0.5);
    s.set(15, 20., 0.25); // no bin coherent: the largest of all
    r = s.find();
    EXPECT_EQ(r.frequency, 15.);
    EXPECT_DOUBLE_EQ(r.coherence, 0.25);
    EXPECT_FALSE(r.coherent);
}

TEST(Resonance, NoQWhenASideIsNotReachedAndPhaseInItsRange)
{
    spectra s = triangle(1.);
    for (std::uint32_t k = 1; k < 10; ++k) s.set(k, 7.9, 1.); // bin 0, the mean, is no side
    s.set(0, 0., 1.);
    EXPECT_FALSE(s.find().has_q);
    const double gxx[] = {1., 1.}, gxy[] = {-2., -0., 0., -3.}; // -0: 180, not -180
    EXPECT_EQ(h1_phase({gxx, gxx, gxy, 2, 1.}, 0), 180.);
    EXPECT_EQ(h1_phase({gxx, gxx, gxy, 2, 1.}, 1), -90.);
}
