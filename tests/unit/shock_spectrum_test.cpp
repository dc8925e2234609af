// The shock response spectrum against closed forms and a direct integration of
// the oscillator, the record's velocity change, the check against a
// requirement and the faults of the options.
#include "test_pi.h"
#include "input/profile_file.h"
#include "readings/oscillators.h"
#include "readings/shock_spectrum.h"
#include "readings/srs_check.h"
#include "readings/srs_loop.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {


// The spectrum of samples x at sr, fed in blocks of 1000, for natural frequencies fn.
srs_result spectrum(const std::vector<float>& x, double sr, const std::vector<double>& fn,
                    double q, double to_si = 1.)
{
    srs_bank bank = start_srs(fn, q, sr, to_si);
    for (std::size_t at = 0; at < x.size(); at += 1000)
        feed_srs(bank, x.data() + at, std::min<std::size_t>(1000, x.size() - at));
    return finish_srs(bank);
}

// A half-sine of amplitude a and duration t at sr, followed by rest up to length s.
std::vector<float> half_sine(double a, double t, double sr, double s)
{
    std::vector<float> x(static_cast<std::size_t>(s * sr));
    for (std::size_t n = 0; n * (1. / sr) <= t; ++n)
        x[n] = static_cast<float>(a * std::sin(pi * n / (sr * t)));
    return x;
}

// Peaks of the oscillator under x (linear between samples) by RK4 with 64
// steps a sample, read at the sample times: max|abs. acceleration|, wn^2 max|z|.
std::pair<double, double> integrated(const std::vector<float>& x, double sr, double fn, double q)
{
    const double wn = 2. * pi * fn, c = wn / q, k = wn * wn, h = 1. / (sr * 64.);
    double z = 0., v = 0., acc = 0., rel = 0.;
    auto f = [&](double a, double zz, double vv) { return -a - c * vv - k * zz; };
    for (std::size_t n = 1; n < x.size(); ++n)
        for (int s = 0; s < 64; ++s) {
            const double a0 = x[n - 1] + (x[n] - x[n - 1]) * s / 64.;
            const double a1 = x[n - 1] + (x[n] - x[n - 1]) * (s + 0.5) / 64.;
            const double a2 = x[n - 1] + (x[n] - x[n - 1]) * (s + 1.) / 64.;
            const double k1z = v, k1v = f(a0, z, v);
            const double k2z = v + h / 2 * k1v, k2v = f(a1, z + h / 2 * k1z, k2z);
            const double k3z = v + h / 2 * k2v, k3v = f(a1, z + h / 2 * k2z, k3z);
            const double k4z = v + h * k3v, k4v = f(a2, z + h * k3z, k4z);
            z += h / 6 * (k1z + 2 * k2z + 2 * k3z + k4z);
            v += h / 6 * (k1v + 2 * k2v + 2 * k3v + k4v);
            if (s == 63) acc = std::max(acc, std::fabs(c * v + k * z)), rel = std::max(rel, k * std::fabs(z));
        }
    return {acc, rel};
}

} // namespace

TEST(ShockSpectrum, HalfSineMatchesTheClosedValuesAtEveryFnUpToAQuarterOfTheRate)
{
    const double t = 0.011, sr = 20000.;
    const std::vector<float> x = half_sine(1., t, sr, 0.3);
    const double rho[] = {0.2, 0.5, 0.8, 1., 2., 5., 55.};
    const double known[] = {0.7176, 1.4626, 1.6510, 1.6238, 1.2124, 1.0430, 1.0014};
    std::vector<double> fn;
    for (double r : rho) fn.push_back(r / t);
    const srs_result r = spectrum(x, sr, fn, 10.);
    EXPECT_EQ(r.upsampling, 1); // fn = 5 kHz = sr/4: its peaks refined between samples
    for (std::size_t i = 0; i < fn.size(); ++i)
        EXPECT_NEAR(r.rows[i].maximax / known[i], 1., 0.01) << "fn T = " << rho[i];
    // Nearly undamped, the residual is 4 rho |cos pi rho| / |1 - 4 rho^2|.
    const srs_result u = spectrum(x, sr, {0.2 / t, 0.8 / t}, 1e4);
    for (const srs_row& row : u.rows) {
        const double p = row.fn * t;
        EXPECT_NEAR(row.residual, 4 * p * std::fabs(std::cos(pi * p)) / std::fabs(1 - 4 * p * p), 0.005);
    }
    EXPECT_GT(u.rows[1].primary, u.rows[1].residual); // at fn T = 0.8 the peak is during the pulse
}

TEST(ShockSpectrum, SteadySineAndTheFilterAgainstADirectIntegration)
{
    // A steady sine at fn, upsampled (fn = sr / 20): Q A sqrt(1 + 1/Q^2) once the transient is gone.
    const double sr = 20000., fn = 1000.;
    std::vector<float> sine(40000);
    for (std::size_t n = 0; n < sine.size(); ++n) sine[n] = static_cast<float>(std::sin(2 * pi * fn * n / sr));
    const srs_result s = spectrum(sine, sr, {fn}, 10.);
    EXPECT_NEAR(s.rows[0].maximax / (10. * std::sqrt(1.01)), 1., 0.005);
    EXPECT_EQ(s.upsampling, 1);
    // A rough record from rest: peaks at the sample times equal those of RK4 on the ramps.
    std::vector<float> rough(3000);
    for (std::size_t n = 0; n < rough.size(); ++n)
        rough[n] = static_cast<float>(n == 0 ? 0. : std::sin(0.013 * n * n) + (n > 2000 ? 0. : 0.5));
    const std::vector<double> fn_rough = {10., 120., 600.};
    const srs_result r = spectrum(rough, sr, fn_rough, 10., 9.81);
    for (std::size_t i = 0; i < fn_rough.size(); ++i) {
        const auto [acc, rel] = integrated(rough, sr, fn_rough[i], 10.);
        EXPECT_NEAR(r.rows[i].maximax / acc, 1., 1e-7) << fn_rough[i];
        EXPECT_NEAR(r.rows[i].pseudo_velocity * 2 * pi * fn_rough[i] / (9.81 * rel), 1., 1e-7);
    }
}

TEST(ShockSpectrum, VectorLoopsAndTheHelperThreadGiveThePlainLoopsBits)
{
    // Oscillators in every stream (sampled, refined, upsampled) and past every register width.
    const double sr = 20000.;
    std::vector<float> rough(5000);
    for (std::size_t n = 0; n < rough.size(); ++n)
        rough[n] = static_cast<float>(std::sin(0.013 * n * n) + (n % 700 < 40 ? 3. : 0.));
    const std::vector<double> fn = natural_frequencies({10., 24, 10., 9000.});
    // Each case: the loops and the threads the bank runs with.
    struct run_case {
        const srs_paths* paths;
        int threads;
    };
    std::vector<run_case> cases = {{&plain_srs_paths, 2}};
#if ZENTRI_X86_VECTORS
    if (__builtin_cpu_supports("avx2")) cases.push_back({&avx_srs_paths, 1});
    if (__builtin_cpu_supports("avx512f")) cases.push_back({&avx512_srs_paths, 2});
#endif
    srs_bank plain = start_srs(fn, 10., sr, 1.);
    plain.paths = &plain_srs_paths;
    feed_srs(plain, rough.data(), rough.size());
    const srs_result want = finish_srs(plain);
    for (const run_case& c : cases) {
        srs_bank bank = start_srs(fn, 10., sr, 1., c.threads);
        bank.paths = c.paths;
        for (std::size_t at = 0; at < rough.size(); at += 777)
            feed_srs(bank, rough.data() + at, std::min<std::size_t>(777, rough.size() - at));
        const srs_result got = finish_srs(bank);
        for (std::size_t i = 0; i < fn.size(); ++i) {
            const srs_row &a = got.rows[i], &b = want.rows[i];
            EXPECT_TRUE(a.positive == b.positive && a.negative == b.negative && a.primary == b.primary &&
                        a.residual == b.residual && a.pseudo_velocity == b.pseudo_velocity)
                << "fn " << fn[i] << ", case " << (&c - cases.data());
        }
    }
}

TEST(ShockSpectrum, VelocityChangeAndPeakOfClassicalPulses)
{
    const double sr = 20000., t = 0.011;
    const srs_result h = spectrum(half_sine(100., t, sr, 0.05), sr, {100.}, 10., 9.81);
    EXPECT_NEAR(h.velocity_change, 2 * 100. * 9.81 * t / pi, 1e-3); // 6.870 m/sec
    EXPECT_NEAR(h.velocity_change_ips, h.velocity_change / 0.0254, 1e-9);
    EXPECT_NEAR(h.peak, 100., 1e-4);
    // A terminal-peak sawtooth, the record ending on its peak: A T / 2.
    std::vector<float> saw(221);
    for (std::size_t n = 0; n < saw.size(); ++n) saw[n] = static_cast<float>(50. * n / 220.);
    EXPECT_NEAR(spectrum(saw, sr, {100.}, 10.).velocity_change, 50. * t / 2, 1e-6);
}

TEST(ShockSpectrum, RequirementMetAndMissedWithAmplitudeSlopes)
{
    // 6 dB/oct on an amplitude doubles it (near enough) each octave: 10 G at 100 Hz, 99.5 at 1 kHz.
    const profile_reading need = read_profile_text("100 10\n1000 +6 dB/oct\n", 20.);
    ASSERT_EQ(need.error, "");
    EXPECT_NEAR(need.points[1].value, 10. * std::pow(10., 6. * std::log2(10.) / 20.), 1e-9);
    std::vector<srs_row> rows;
    for (double f : natural_frequencies({10., 12, 50., 2000.}))
        rows.push_back({f, 10. * std::pow(f / 100., 0.997), 0., 0., 0., 0., 0.});
    const decibel_tolerance band = read_decibel_tolerance("-1.5:+3");
    const srs_check met = check_srs(rows, 1., need.points, band);
    EXPECT_TRUE(met.within);
    EXPECT_EQ(met.rows.size(), 40u); // 100 Hz to 1 kHz at 1/12 octave
    rows[20].maximax *= 0.5;         // one natural frequency 6 dB low: past twice -1.5 dB
    const srs_check missed = check_srs(rows, 1., need.points, band);
    EXPECT_FALSE(missed.within);
    EXPECT_EQ(missed.worst_frequency, rows[20].fn);
    EXPECT_NEAR(missed.share_within_inner, 39. / 40., 1e-12);
}

TEST(ShockSpectrum, FaultsOfTheOptionsAndTheTolerance)
{
    const double sr = 20000.;
    EXPECT_EQ(oscillator_fault(default_oscillators(sr), sr), "");
    EXPECT_NE(oscillator_fault({0.5, 12, 10., 5000.}, sr), "");
    EXPECT_NE(oscillator_fault({10., 5, 10., 5000.}, sr), "");
    EXPECT_NE(oscillator_fault({10., 12, 10., 12000.}, sr), ""); // past sr/2
    EXPECT_EQ(natural_frequencies({10., 12, 10., 10000.}).size(), 120u);
    const decibel_tolerance one = read_decibel_tolerance("3");
    EXPECT_EQ(one.low, -3.);
    EXPECT_NE(read_decibel_tolerance("2:-1").error, "");
    EXPECT_NE(read_decibel_tolerance("x").error, "");
}
