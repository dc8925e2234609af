// Response spectra: the profile's known answers, Miles against the exact VRS of a
// flat PSD, the ERS against a simulated oscillator's largest peak, usage faults.
#include "random_multisine.h"
#include "readings/profile_curve.h"
#include "readings/response_spectra.h"

#include <gtest/gtest.h>

static constexpr double g = 9.81; // m/sec^2 per G

// The largest absolute acceleration of the oscillator (fn, q) on the base
// acceleration x (m/sec^2) at rate fs, integrated step by step (semi-implicit Euler).
static double simulated_peak(const std::vector<float>& x, double fs, double fn, double q)
{
    double w = 2. * M_PI * fn, h = 1. / fs, z = 0., v = 0., peak = 0.;
    for (const float a : x) {
        v += h * (-a - w / q * v - w * w * z), z += h * v;
        peak = std::max(peak, std::fabs(w / q * v + w * w * z));
    }
    return peak;
}

TEST(ResponseSpectra, ProfileKnownAnswersFromItsCurveAndFromItsLines)
{
    const std::vector<profile_point> profile{
        {20., 0.0053}, {150., 0.04}, {600., 0.04}, {2000., 0.0036}};
    const std::vector<double> fn{100., 200., 1000.};
    const double vrs[] = {6.38, 11.09, 16.06}, miles[] = {6.47, 11.21, 15.04};
    multisine lines{std::vector<double>(8001, 0.), 0.25, {}};
    for (std::size_t k = 80; k < lines.psd.size(); ++k)
        lines.psd[k] = profile_value(profile, k * lines.df) * g * g;
    const response_spectra curve = profile_response_spectra(profile, fn, 10., 60.);
    const response_spectra sum = psd_response_spectra(lines.view(1, 1. / g), fn, 10., 60.);
    for (std::size_t i = 0; i < fn.size(); ++i) {
        EXPECT_NEAR(curve.points[i].vrs, vrs[i], 0.005) << fn[i];
        EXPECT_NEAR(curve.points[i].miles, miles[i], 0.005) << fn[i];
        EXPECT_NEAR(sum.points[i].vrs, vrs[i], 0.01) << fn[i];
        EXPECT_NEAR(sum.points[i].miles, miles[i], 0.005) << fn[i];
    }
}

TEST(ResponseSpectra, MilesIsTheExactVrsOfAFlatPsdWithinItsKnownError)
{
    // Over a flat PSD the exact VRS^2 is G fn pi/2 (q + 1/q); Miles leaves out the 1/q.
    multisine flat{std::vector<double>(100000, 0.04 * g * g), 0.05, {}};
    for (const double q : {5., 10., 50.}) {
        const auto p = psd_response_spectra(flat.view(1, 1. / g), {50.}, q, 60.).points[0];
        EXPECT_NEAR(p.miles / p.vrs, std::sqrt(q * q / (q * q + 1.)), 2e-4) << q;
    }
}

TEST(ResponseSpectra, ErsIsTheOrderOfTheSimulatedLargestPeak)
{
    const double fs = 10000., seconds = 20.;
    const multisine record = make_multisine(20., 500., 1., 200, fs, seconds);
    const auto p = psd_response_spectra(record.view(1, 1. / g), {100.}, 10., seconds).points[0];
    // The largest of 2000 peaks spreads by about 8 %.
    EXPECT_NEAR(simulated_peak(record.samples, fs, 100., 10.) / g / p.ers, 1., 0.25);
}

TEST(ResponseSpectra, UsageFaultsAreValues)
{
    const multisine flat{std::vector<double>(100, 1.), 1., {}};
    EXPECT_NE(psd_response_spectra(flat.view(1, 1.), {50.}, 0., 60.).error, "");
    EXPECT_NE(psd_response_spectra(flat.view(1, 1.), {50.}, 10., 0.).error, "");
    EXPECT_NE(psd_response_spectra(flat.view(2, 1.), {50.}, 10., 60.).error, "");
    EXPECT_NE(profile_response_spectra({{1., 1.}, {2., 1.}}, {50.}, 10., -1.).error, "");
}
