// The output stage on a power accumulator set by hand: file sets, PSD
// normalisation, the PSD and magnitude rows, the run summary and write failures.
#include "run/finished_views.h"
#include "run/output_stage.h"
#include "spectrum/finished_psd.h"
#include "spectrum_rows.h"
#include "state_fixture.h"
#include "work_folder.h"
#include "output/output_files.h"
#include "output/spectrum_writers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

const double sqrt2 = std::sqrt(2.);

// Tolerance for a value read back from a file: four decimals of the mantissa.
double printed(double v)
{
    return 6e-5 * std::fabs(v) + 1e-300;
}

class SpectrumWriters : public ::testing::Test {
protected:
    void SetUp() override { reset_state(); }

    // Sets a run of the given quantity whose accumulator holds raw[k] in bin k;
    // the bins from m/2 on hold a marker that must stay.
    void set_run(int type, std::uint32_t m, double df, std::uint32_t nave, const std::vector<double>& raw)
    {
        st.input_type = type;
        st.m = m;
        st.df = df;
        st.nave = nave;
        for (std::uint32_t k = 0; k < m; ++k) st.psd[k] = k < raw.size() ? raw[k] : -1.;
    }

    // The one-sided PSD expected in bin k: not doubled at 0 Hz.
    double expected_psd(const std::vector<double>& raw, std::uint32_t k) const
    {
        return (k == 0 ? 1. : 2.) * raw[k] / (st.df * st.nave);
    }

    work_folder folder;
};

// Bin 0 divided by df and nave, the other bins doubled too; nave is no integer divisor.
TEST_F(SpectrumWriters, PsdNormalisation)
{
    const std::vector<double> raw = {3., 1., 2., 0.5, 7., 1e-3, 4., 9.};
    set_run(6, 16, 0.25, 3, raw);
    console_of(output_stage);
    for (std::uint32_t k = 0; k < 8; ++k)
        EXPECT_NEAR(st.psd[k], expected_psd(raw, k), 1e-14 * expected_psd(raw, k)) << k;
    for (std::uint32_t k = 8; k < 16; ++k) EXPECT_EQ(st.psd[k], -1.) << k;
    const std::vector<spectrum_row> rows = parse_rows(folder.read("V2_Hz.psd"));
    ASSERT_EQ(rows.size(), 8u);
    for (std::uint32_t k = 0; k < 8; ++k) {
        EXPECT_NEAR(rows[k].f, k * 0.25, printed(k * 0.25)) << k;
        EXPECT_NEAR(rows[k].v, expected_psd(raw, k), printed(expected_psd(raw, k))) << k;
    }
}

// Rows are "%10.4e %10.4e \n" with three-digit exponents.
TEST_F(SpectrumWriters, RowFormat)
{
    set_run(6, 4, 10., 1, {1.5e-7, 250.});
    console_of(output_stage);
    EXPECT_EQ(folder.read("V2_Hz.psd"), "0.0000e+000 1.5000e-008 \n"
                                        "1.0000e+001 5.0000e+001 \n");
}

// Volts: one PSD file, no magnitude files, the overall rms in V over bins 1..m/2-1.
TEST_F(SpectrumWriters, VoltsSummary)
{
    set_run(6, 8, 1., 1, {100., 2., 0.5, 0.});
    const std::string text = console_of(output_stage);
    const std::string summary = "\n\n\n m= 8\n df = 1.000e+000 \n nave = 1 \n overall rms = 2.236e+000 ";
    EXPECT_NE(text.find(summary), std::string::npos) << text;
    EXPECT_EQ(text.substr(text.size() - summary.size()), summary);
    EXPECT_FALSE(folder.exists("A_Grms.mag"));
}

// The English PSD is the SI PSD times the squared English factor, for every quantity
// with two PSD files, and the overall rms is in the English unit.
TEST_F(SpectrumWriters, EnglishPsdAndOverallRms)
{
    struct quantity {
        int type;
        const char* english;
        const char* si;
        double to_english;
    };
    const quantity quantities[] = {
        {1, "A_G2Hz.psd", "A_ms22Hz.psd", 1. / 9.81},
        {2, "V_ips2Hz.psd", "V_ms2Hz.psd", 1. / 0.0254},
        {3, "D_in2Hz.psd", "D_m2Hz.psd", 1. / 0.0254},
        {4, "F_lbf2_Hz.psd", "F_N2_Hz.psd", 1. / 4.448},
        {5, "P_psi2_Hz.psd", "P_Pa2_Hz.psd", 1. / 6897.},
    };
    const std::vector<double> raw = {5., 0.125, 2., 0.03125};
    for (const quantity& q : quantities) {
        reset_state();
        set_run(q.type, 8, 0.5, 2, raw);
        const std::string text = console_of(output_stage);
        const std::vector<spectrum_row> si = parse_rows(folder.read(q.si));
        const std::vector<spectrum_row> en = parse_rows(folder.read(q.english));
        ASSERT_EQ(si.size(), 4u) << q.si;
        ASSERT_EQ(en.size(), 4u) << q.english;
        double ms = 0.;
        for (std::uint32_t k = 0; k < 4; ++k) {
            const double p = expected_psd(raw, k);
            if (k > 0) ms += p;
            EXPECT_NEAR(si[k].v, p, printed(p)) << q.si << " " << k;
            const double e = p * q.to_english * q.to_english;
            EXPECT_NEAR(en[k].v, e, printed(e)) << q.english << " " << k;
        }
        const std::string::size_type at = text.find("\n overall rms = ");
        ASSERT_NE(at, std::string::npos);
        const double rms = std::strtod(text.c_str() + at + 16, nullptr);
        const double expect = std::sqrt(ms * 0.5) * q.to_english;
        EXPECT_NEAR(rms, expect, 6e-4 * expect) << q.type;
    }
}

// Magnitudes of acceleration, velocity, force and pressure: rms r = sqrt(df*psd),
// peak r*sqrt(2) (r at 0 Hz), in the English unit and in SI.
TEST_F(SpectrumWriters, MagnitudeRows)
{
    struct quantity {
        int type;
        const char* files[4]; // English rms, SI rms, English peak, SI peak
        double to_english;
    };
    const quantity quantities[] = {
        {1, {"A_Grms.mag", "A_ms2rms.mag", "A_Gpk.mag", "A_ms2_pk.mag"}, 1. / 9.81},
        {2, {"V_ipsrms.mag", "V_ms_rms.mag", "V_ips_pk.mag", "V_ms_pk.mag"}, 1. / 0.0254},
        {4, {"F_lbfrms.mag", "F_Nrms.mag", "F_lbf_pk.mag", "F_N_pk.mag"}, 1. / 4.448},
        {5, {"P_psirms.mag", "P_Parms.mag", "P_psi_pk.mag", "P_Pa_pk.mag"}, 1. / 6897.},
    };
    const std::vector<double> raw = {0.36, 2.25, 0.01, 16., 1e-6, 0.5, 3., 0.};
    for (const quantity& q : quantities) {
        reset_state();
        set_run(q.type, 16, 2., 4, raw);
        console_of(output_stage);
        std::vector<spectrum_row> rows[4];
        for (int i = 0; i < 4; ++i) {
            rows[i] = parse_rows(folder.read(q.files[i]));
            ASSERT_EQ(rows[i].size(), 8u) << q.files[i];
            EXPECT_EQ(malformed_rows(folder.read(q.files[i])), 0) << q.files[i];
        }
        for (std::uint32_t k = 0; k < 8; ++k) {
            const double r = std::sqrt(2. * expected_psd(raw, k));
            const double p = k == 0 ? 1. : sqrt2;
            const double expect[4] = {r * q.to_english, r, r * p * q.to_english, r * p};
            for (int i = 0; i < 4; ++i) {
                EXPECT_NEAR(rows[i][k].f, 2. * k, printed(2. * k));
                EXPECT_NEAR(rows[i][k].v, expect[i], printed(expect[i])) << q.files[i] << " " << k;
            }
        }
    }
}

// Displacement: twelve magnitude files, rms, zero-peak and peak-peak in inch,
// micro inch, meter and micron.
TEST_F(SpectrumWriters, DisplacementMagnitudes)
{
    const char* files[12] = {"D_in_rms.mag", "Dmin_rms.mag", "D_m_rms.mag", "Dmic_rms.mag",
                             "D_in_ztp.mag", "Dmin_ztp.mag", "D_m_ztp.mag", "Dmic_ztp.mag",
                             "D_in_ptp.mag", "Dmin_ptp.mag", "D_m_ptp.mag", "Dmic_ptp.mag"};
    const double unit[4] = {1. / 0.0254, 1e6 / 0.0254, 1., 1e6};
    const std::vector<double> raw = {4e-10, 1e-8, 2.5e-12, 9e-9};
    set_run(3, 8, 0.5, 1, raw);
    console_of(output_stage);
    for (int i = 0; i < 12; ++i) {
        const std::vector<spectrum_row> rows = parse_rows(folder.read(files[i]));
        ASSERT_EQ(rows.size(), 4u) << files[i];
        for (std::uint32_t k = 0; k < 4; ++k) {
            const double r = std::sqrt(0.5 * expected_psd(raw, k));
            const double p = k == 0 ? 1. : sqrt2;
            const double shape[3] = {1., p, 2. * p};
            const double expect = r * shape[i / 4] * unit[i % 4];
            EXPECT_NEAR(rows[k].v, expect, printed(expect)) << files[i] << " " << k;
        }
    }
}

// A file that cannot be created is reported; the others are still written in full.
TEST_F(SpectrumWriters, FileThatCannotBeCreated)
{
    ASSERT_EQ(mkdir("A_Gpk.mag", 0755), 0);
    set_run(1, 16, 1., 1, {1., 1., 1., 1., 1., 1., 1., 1.});
    const std::string text = console_of(output_stage);
    EXPECT_NE(text.find("\n A_ms2_pk.mag  -  freq(Hz) magnitude((m/sec^2) peak) Failed to open file: A_Gpk.mag \n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("Failed to write"), std::string::npos);
    for (const char* name : {"A_G2Hz.psd", "A_ms22Hz.psd", "A_Grms.mag", "A_ms2rms.mag", "A_ms2_pk.mag"})
        EXPECT_EQ(parse_rows(folder.read(name)).size(), 8u) << name;
    EXPECT_NE(text.find("\n overall rms = "), std::string::npos);
}

// A file on a full device is reported once, whether the failure shows while
// writing (many rows) or only when the file is closed (few rows); the rest completes.
TEST_F(SpectrumWriters, WriteFailureReportedOnce)
{
    for (std::uint32_t m : {16u, 8192u}) {
        reset_state();
        set_run(1, m, 1., 1, std::vector<double>(m / 2, 1.));
        // A_Grms.mag's stream is swapped for one on a full device once the files are made.
        const std::string text = console_of([] {
            finish_psd();
            create_output_files();
            st.fp[4] = std::freopen("/dev/full", "w", st.fp[4]);
            write_spectra(finished_psd_view());
        });
        const std::string line = " Failed to write file: A_Grms.mag \n";
        const std::string::size_type at = text.find(line);
        ASSERT_NE(at, std::string::npos) << "m = " << m;
        EXPECT_EQ(text.find(line, at + 1), std::string::npos) << "m = " << m;
        EXPECT_EQ(text.find("Failed to open"), std::string::npos);
        for (const char* name : {"A_G2Hz.psd", "A_ms22Hz.psd", "A_ms2rms.mag", "A_Gpk.mag", "A_ms2_pk.mag"})
            EXPECT_EQ(parse_rows(folder.read(name)).size(), m / 2) << name;
        EXPECT_GT(text.find("\n\n\n m= "), at);
        EXPECT_NE(text.find("\n overall rms = "), std::string::npos);
    }
}

} // namespace
