// Accuracy of the whole analysis: a sine of known amplitude, random records
// against a Welch PSD computed in double precision, and the same physical
// record given in different input units.
#include "console_text.h"
#include "reference_dft.h"
#include "run_program.h"
#include "spectrum_rows.h"
#include "spectrum_run.h"
#include "test_pi.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

// Uniform random samples in [centre - 1, centre + 1].
std::vector<double> random_record(std::size_t n, unsigned seed, double centre)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> dist(centre - 1., centre + 1.);
    std::vector<double> x(n);
    for (double& v : x) v = dist(gen);
    return x;
}

// Mean of the values of rows.
double mean_value(const std::vector<spectrum_row>& rows)
{
    double sum = 0.;
    for (const spectrum_row& r : rows) sum += r.v;
    return sum / static_cast<double>(rows.size());
}

// A sine of amplitude A in G at the exact bin frequency k0/(m*dt), rectangular
// window, no mean removal: PSD A^2/(2 df), rms A/sqrt(2), peak A, overall rms A/sqrt(2).
TEST(PsdAccuracy, SineAtBinFrequency)
{
    const unsigned m = 1024, k0 = 100;
    const double a = 2.5;
    std::vector<double> x(8 * m);
    for (std::size_t n = 0; n < x.size(); ++n)
        x[n] = a * std::sin(2. * pi * k0 * static_cast<double>(n) / m);
    scratch_dir dir;
    const program_run run = run_on_record(dir, record_text(x), run_answers(1, 1, m, false, false));
    ASSERT_EQ(run.exit_status, 1);
    const double df = record_df(m);

    const std::vector<spectrum_row> psd = parse_rows(dir.read("A_G2Hz.psd"));
    ASSERT_EQ(psd.size(), m / 2);
    EXPECT_NEAR(psd[k0].f, k0 * df, 1e-4 * k0 * df);
    EXPECT_NEAR(psd[k0].v, a * a / (2. * df), 1e-4 * a * a / (2. * df));
    for (unsigned k = 0; k < m / 2; ++k)
        if (k != k0) {
            EXPECT_LT(psd[k].v, 1e-9 * psd[k0].v) << k;
        }

    EXPECT_NEAR(parse_rows(dir.read("A_Grms.mag"))[k0].v, a / std::sqrt(2.), 1e-4 * a);
    EXPECT_NEAR(parse_rows(dir.read("A_Gpk.mag"))[k0].v, a, 1e-4 * a);
    EXPECT_NEAR(parse_rows(dir.read("A_ms2_pk.mag"))[k0].v, a * 9.81, 1e-4 * a * 9.81);
    EXPECT_NEAR(console_number(run.console, "\n overall rms = "), a / std::sqrt(2.), 1e-3 * a);
    EXPECT_NEAR(console_number(run.console, "\n nave = "), 15., 0.);
}

// One configuration of a run compared with the Welch PSD in double precision.
struct welch_case {
    int type;
    int unit;
    unsigned m;
    bool remove_mean;
    bool hanning;
    double to_si;        // factor from the input unit to SI
    const char* si_file; // PSD in SI units
    const char* en_file; // PSD in the English unit, or nullptr
    double to_english;   // factor from SI to the English unit
};

// Random records against a one-sided Welch PSD computed in double precision
// from the same float samples, segments, window, scaling and df. Each bin may
// differ by the printing (four decimals) plus single-precision rounding, taken
// relative to the mean level: the float transform's error is a small part of
// the segment's total power, not of each bin's own power.
TEST(PsdAccuracy, RandomRecordMatchesWelchReference)
{
    const welch_case cases[] = {
        {6, 0, 512, false, false, 1., "V2_Hz.psd", nullptr, 1.},
        {1, 2, 1024, true, true, 1., "A_ms22Hz.psd", "A_G2Hz.psd", 1. / 9.81},
        {1, 1, 4096, false, true, 9.81, "A_ms22Hz.psd", "A_G2Hz.psd", 1. / 9.81},
        {4, 1, 256, true, false, 4.448, "F_N2_Hz.psd", "F_lbf2_Hz.psd", 1. / 4.448},
    };
    unsigned seed = 40;
    for (const welch_case& c : cases) {
        SCOPED_TRACE(c.si_file);
        const std::vector<double> x = random_record(20000 + c.m / 3, ++seed, 0.3);
        scratch_dir dir;
        const program_run run = run_on_record(
            dir, record_text(x), run_answers(c.type, c.unit, c.m, c.remove_mean, c.hanning));
        ASSERT_EQ(run.exit_status, 1);

        const welch_setup setup{c.m, record_df(c.m), c.remove_mean, c.hanning, c.to_si};
        std::size_t segments = 0;
        const std::vector<double> ref = welch_psd(as_read(x), setup, &segments);
        EXPECT_EQ(console_number(run.console, "\n nave = "), static_cast<double>(segments));

        const std::vector<spectrum_row> si = parse_rows(dir.read(c.si_file));
        ASSERT_EQ(si.size(), c.m / 2);
        double level = 0.;
        for (std::size_t k = 1; k < ref.size(); ++k) level += ref[k];
        level /= static_cast<double>(ref.size() - 1);
        for (std::size_t k = 0; k < ref.size(); ++k) {
            const double tol = 6e-5 * ref[k] + 2e-6 * level;
            EXPECT_NEAR(si[k].v, ref[k], tol) << "bin " << k;
        }
        if (c.en_file == nullptr) continue;
        const std::vector<spectrum_row> en = parse_rows(dir.read(c.en_file));
        ASSERT_EQ(en.size(), c.m / 2);
        const double f2 = c.to_english * c.to_english;
        for (std::size_t k = 0; k < ref.size(); ++k)
            EXPECT_NEAR(en[k].v, ref[k] * f2, (6e-5 * ref[k] + 2e-6 * level) * f2) << "bin " << k;
    }
}

// White noise of variance s^2 at sr samples/s has the flat one-sided PSD 2 s^2/sr,
// so its rms in a band of B Hz is sqrt(2 s^2 B/sr); uniform noise in [-1, 1] has s^2 = 1/3.
TEST(PsdAccuracy, FlatNoiseBandRmsIsTheSquareRootOfPsdTimesBandwidth)
{
    scratch_dir dir;
    dir.write("rec.txt", record_text(random_record(40000, 5, 0.)));
    const program_run run = run_zentri_args(
        dir, {"-q", "volts", "-m", "256", "--band", "100:400", "--summary", "s.json", "rec.txt"});
    ASSERT_EQ(run.exit_status, 0) << run.errors;
    const nlohmann::json band = nlohmann::json::parse(dir.read("s.json"))["results"]["bands"][0];
    const double rms = std::sqrt(2. / 3. * 300. * record_dt);
    EXPECT_NEAR(band["rms"].get<double>(), rms, 0.03 * rms);
    EXPECT_EQ(band["unit"], "V");
    EXPECT_TRUE(holds(run.console, "\nband 100 to 400 Hz: "));
}

// One input unit of a quantity: its code, the factor to SI, the files to compare.
struct unit_case {
    int type;
    int unit;
    double to_si;
};

// The same physical record in an SI unit and in another unit of the same
// quantity gives the same SI files, within the float rounding of the samples.
TEST(PsdAccuracy, UnitRoundTrips)
{
    struct quantity_files {
        int type;
        int si_unit;
        std::vector<unit_case> units;
        std::vector<const char*> si_files;
    };
    const quantity_files quantities[] = {
        {1, 2, {{1, 1, 9.81}}, {"A_ms22Hz.psd", "A_ms2rms.mag", "A_ms2_pk.mag"}},
        {2, 2, {{2, 1, 0.0254}}, {"V_ms2Hz.psd", "V_ms_rms.mag"}},
        {3,
         4,
         {{3, 1, 0.0254}, {3, 2, 0.0254e-3}, {3, 3, 0.0254e-6}, {3, 5, 1e-3}, {3, 6, 1e-6}},
         {"D_m2Hz.psd", "D_m_rms.mag", "Dmic_rms.mag", "D_m_ptp.mag"}},
        {4, 2, {{4, 1, 4.448}}, {"F_N2_Hz.psd", "F_Nrms.mag"}},
        {5, 2, {{5, 1, 6897.}}, {"P_Pa2_Hz.psd", "P_Parms.mag"}},
    };
    const unsigned m = 512;
    const std::vector<double> x = random_record(6000, 77, 0.2);
    for (const quantity_files& q : quantities) {
        // The physical record scaled into a range typical of the quantity.
        const double scale = q.type == 3 ? 1e-3 : 1.;
        std::vector<double> si(x.size());
        for (std::size_t i = 0; i < x.size(); ++i) si[i] = x[i] * scale;
        scratch_dir base;
        ASSERT_EQ(
            run_on_record(base, record_text(si), run_answers(q.type, q.si_unit, m, false, true))
                .exit_status,
            1);
        for (const unit_case& u : q.units) {
            SCOPED_TRACE("quantity " + std::to_string(u.type) + " unit " + std::to_string(u.unit));
            scratch_dir dir;
            ASSERT_EQ(run_on_record(dir, record_text(si, u.to_si),
                                    run_answers(u.type, u.unit, m, false, true))
                          .exit_status,
                      1);
            for (const char* name : q.si_files) {
                const std::vector<spectrum_row> want = parse_rows(base.read(name));
                const std::vector<spectrum_row> got = parse_rows(dir.read(name));
                ASSERT_EQ(got.size(), m / 2) << name;
                const double level = mean_value(want);
                for (std::size_t k = 0; k < want.size(); ++k)
                    ASSERT_NEAR(got[k].v, want[k].v, 1.2e-4 * want[k].v + 1e-6 * level)
                        << name << " row " << k;
            }
        }
    }
}

} // namespace
