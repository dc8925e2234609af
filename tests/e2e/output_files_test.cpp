// The output files of a whole run, for each of the six quantities: which files
// are made, their announcement, their rows, and what happens when files exist
// already, cannot be created or cannot be written.
#include "console_text.h"
#include "record_text.h"
#include "run_program.h"
#include "spectrum_rows.h"
#include "spectrum_run.h"
#include "test_pi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const double sqrt2 = std::sqrt(2.);

// One output file: its name, whether it holds a PSD, the factor from the SI
// value to its unit, and for magnitudes 0 rms, 1 peak (zero-peak), 2 peak-peak.
struct out_file {
    const char* name;
    bool psd;
    double unit;
    int shape;
};

// A quantity: its code, the unit code of its SI unit, the announcement and its files in slot order.
struct quantity {
    int type;
    int si_unit;
    std::string announcement;
    std::vector<out_file> files;
};

const double g = 1. / 9.81, in = 1. / 0.0254, lbf = 1. / 4.448, psi = 1. / 6897.;

const std::vector<quantity>& quantities()
{
    static const std::vector<quantity> all = {
        {1,
         2,
         "\n\n Acceleration Output Files \n"
         "\n A_G2Hz.psd    -  freq(Hz) PSD( G^2/Hz)"
         "\n A_ms22Hz.psd  -  freq(Hz) PSD( (m/sec^2)^2/Hz) \n"
         "\n A_Grms.mag    -  freq(Hz) magnitude(G RMS)"
         "\n A_ms2rms.mag  -  freq(Hz) magnitude((m/sec^2) RMS) \n"
         "\n A_Gpk.mag     -  freq(Hz) magnitude(G peak)"
         "\n A_ms2_pk.mag  -  freq(Hz) magnitude((m/sec^2) peak)",
         {{"A_G2Hz.psd", true, g, 0},
          {"A_ms22Hz.psd", true, 1., 0},
          {"A_Grms.mag", false, g, 0},
          {"A_ms2rms.mag", false, 1., 0},
          {"A_Gpk.mag", false, g, 1},
          {"A_ms2_pk.mag", false, 1., 1}}},
        {2,
         2,
         "\n\n Velocity Output Files \n"
         "\n  V_ips2Hz.psd  -  freq(Hz) PSD( ips^2/Hz)"
         "\n  V_ms2Hz.psd   -  freq(Hz) PSD( (m/sec)^2/Hz) \n"
         "\n  V_ipsrms.mag  -  freq(Hz) magnitude(ips RMS)"
         "\n  V_ms_rms.mag  -  freq(Hz) magnitude((m/sec) RMS) \n"
         "\n  V_ips_pk.mag  -  freq(Hz) magnitude(ips peak)"
         "\n  V_ms_pk.mag   -  freq(Hz) magnitude((m/sec) peak)",
         {{"V_ips2Hz.psd", true, in, 0},
          {"V_ms2Hz.psd", true, 1., 0},
          {"V_ipsrms.mag", false, in, 0},
          {"V_ms_rms.mag", false, 1., 0},
          {"V_ips_pk.mag", false, in, 1},
          {"V_ms_pk.mag", false, 1., 1}}},
        {3,
         4,
         "\n\n Displacement Output Files \n"
         "\n D_in2Hz.psd  -  freq(Hz) PSD( inch^2/Hz)"
         "\n D_m2Hz.psd   -  freq(Hz) PSD( meters^2/Hz) \n"
         "\n D_in_rms.mag -  freq(Hz) magnitude( inch   RMS)"
         "\n Dmin_rms.mag -  freq(Hz) magnitude( micro inch   RMS)"
         "\n D_m_rms.mag  -  freq(Hz) magnitude( meter  RMS)"
         "\n Dmic_rms.mag -  freq(Hz) magnitude( micron RMS) \n"
         "\n D_in_ztp.mag -  freq(Hz) magnitude( inch   zero-peak)"
         "\n Dmin_ztp.mag -  freq(Hz) magnitude( micro inch   zero-peak)"
         "\n D_m_ztp.mag  -  freq(Hz) magnitude( meter  zero-peak)"
         "\n Dmic_ztp.mag -  freq(Hz) magnitude( micron zero-peak) \n"
         "\n D_in_ptp.mag -  freq(Hz) magnitude( inch   peak-peak)"
         "\n Dmin_ptp.mag -  freq(Hz) magnitude( micro inch   peak-peak)"
         "\n D_m_ptp.mag  -  freq(Hz) magnitude( meter  peak-peak)"
         "\n Dmic_ptp.mag -  freq(Hz) magnitude( micron peak-peak) \n",
         {{"D_in2Hz.psd", true, in, 0},
          {"D_m2Hz.psd", true, 1., 0},
          {"D_in_rms.mag", false, in, 0},
          {"Dmin_rms.mag", false, in * 1e6, 0},
          {"D_m_rms.mag", false, 1., 0},
          {"Dmic_rms.mag", false, 1e6, 0},
          {"D_in_ztp.mag", false, in, 1},
          {"Dmin_ztp.mag", false, in * 1e6, 1},
          {"D_m_ztp.mag", false, 1., 1},
          {"Dmic_ztp.mag", false, 1e6, 1},
          {"D_in_ptp.mag", false, in, 2},
          {"Dmin_ptp.mag", false, in * 1e6, 2},
          {"D_m_ptp.mag", false, 1., 2},
          {"Dmic_ptp.mag", false, 1e6, 2}}},
        {4,
         2,
         "\n\n Force Output Files \n"
         "\n  F_lbf2_Hz.psd -  freq(Hz) PSD( lbf^2/Hz)"
         "\n  F_N2_Hz.psd   -  freq(Hz) PSD( N^2/Hz) \n"
         "\n  F_lbfrms.mag -  freq(Hz) magnitude(lbf RMS)"
         "\n  F_Nrms.mag   -  freq(Hz) magnitude(N RMS) \n"
         "\n  F_lbf_pk.mag -  freq(Hz) magnitude(lbf peak)"
         "\n  F_N_pk.mag   -  freq(Hz) magnitude(N peak)",
         {{"F_lbf2_Hz.psd", true, lbf, 0},
          {"F_N2_Hz.psd", true, 1., 0},
          {"F_lbfrms.mag", false, lbf, 0},
          {"F_Nrms.mag", false, 1., 0},
          {"F_lbf_pk.mag", false, lbf, 1},
          {"F_N_pk.mag", false, 1., 1}}},
        {5,
         2,
         "\n\n Pressure Output Files \n"
         "\n  P_psi2_Hz.psd -  freq(Hz) PSD( psi^2/Hz)"
         "\n  P_Pa2_Hz.psd  -  freq(Hz) PSD( Pa^2/Hz) \n"
         "\n  P_psirms.mag -  freq(Hz) magnitude(psi RMS)"
         "\n  P_Parms.mag  -  freq(Hz) magnitude(Pa RMS) \n"
         "\n  P_psi_pk.mag -  freq(Hz) magnitude(psi peak)"
         "\n  P_Pa_pk.mag  -  freq(Hz) magnitude(Pa peak)",
         {{"P_psi2_Hz.psd", true, psi, 0},
          {"P_Pa2_Hz.psd", true, 1., 0},
          {"P_psirms.mag", false, psi, 0},
          {"P_Parms.mag", false, 1., 0},
          {"P_psi_pk.mag", false, psi, 1},
          {"P_Pa_pk.mag", false, 1., 1}}},
        {6,
         0,
         "\n\n Voltage Output Files \n"
         "\n  V2_Hz.psd -  freq(Hz) PSD( V^2/Hz)",
         {{"V2_Hz.psd", true, 1., 0}}},
    };
    return all;
}

// The driver's closing lines, the last text of a run that ends normally.
const std::string closing_lines =
    "\n\n Please call the output files into your own plotting program. \n"
    "\n Press any key to exit.";

// A run that got through: status 1, the summary printed, the closing lines last.
void expect_completed(const program_run& run)
{
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_TRUE(holds(run.console, "\n overall rms = "));
    EXPECT_TRUE(ends_with(run.console, closing_lines));
}

// Each file holds rows lines of well-formed spectrum rows.
void expect_full_files(const scratch_dir& dir, const std::vector<out_file>& files, int rows)
{
    for (const out_file& f : files) {
        const std::string text = dir.read(f.name);
        EXPECT_EQ(count_lines(text), rows) << f.name;
        EXPECT_EQ(malformed_rows(text), 0) << f.name;
    }
}

// The test record: an offset c plus a sine of amplitude a at bin k0 of m-sample
// segments, in SI units, nine segments long.
constexpr unsigned seg_m = 256, k0 = 16;
constexpr double offset = 0.5, amplitude = 2.;

std::vector<double> offset_sine()
{
    std::vector<double> x(5 * seg_m);
    for (std::size_t n = 0; n < x.size(); ++n)
        x[n] = offset + amplitude * std::sin(2. * pi * k0 * static_cast<double>(n) / seg_m);
    return x;
}

// Tolerance for a value read back from a file: four decimals, plus the float rounding of the
// samples.
double close_to(double v)
{
    return 1e-4 * std::fabs(v);
}

// The rows expected in an output file of the offset sine: 0 Hz holds the
// offset (its power not doubled), bin k0 the sine, the other bins nearly nothing.
void expect_offset_sine_rows(const out_file& f, const std::vector<spectrum_row>& rows, double df)
{
    const double at0 =
        f.psd ? offset * offset / df * f.unit * f.unit : offset * f.unit * (f.shape == 2 ? 2. : 1.);
    const double shape[3] = {1., sqrt2, 2. * sqrt2};
    const double atk0 = f.psd ? amplitude * amplitude / (2. * df) * f.unit * f.unit
                              : amplitude / sqrt2 * f.unit * shape[f.shape];
    for (std::size_t k = 0; k < rows.size(); ++k) {
        EXPECT_NEAR(rows[k].f, k * df, 1e-4 * k * df) << f.name << " row " << k;
        const double expect = k == 0 ? at0 : k == k0 ? atk0 : 0.;
        EXPECT_NEAR(rows[k].v, expect, close_to(expect) + 1e-5 * atk0) << f.name << " row " << k;
    }
}

// A run of the offset sine in the quantity's SI unit, rectangular window, no mean removal.
program_run run_quantity(const scratch_dir& dir, const quantity& q, unsigned m = seg_m)
{
    return run_on_record(dir, record_text(offset_sine()),
                         run_answers(q.type, q.si_unit, m, false, false));
}

// Every quantity: its announcement, exactly its files, m/2 well-formed rows in
// each, the 0 Hz rows (PSD not doubled, peak equal to rms, peak-peak twice it),
// the sine's rows, and the overall rms in the English unit.
TEST(OutputFiles, EachQuantityEndToEnd)
{
    const double df = record_df(seg_m);
    for (const quantity& q : quantities()) {
        scratch_dir dir;
        const program_run run = run_quantity(dir, q);
        SCOPED_TRACE("quantity " + std::to_string(q.type));
        expect_completed(run);
        EXPECT_TRUE(holds(run.console, q.announcement + "\n\n\n m= 256\n df = ")) << run.console;
        EXPECT_TRUE(holds(run.console, "\n nave = 9 "));

        std::vector<std::string> expect_names = {"rec.txt"};
        for (const out_file& f : q.files) expect_names.push_back(f.name);
        std::sort(expect_names.begin(), expect_names.end());
        EXPECT_EQ(dir.names(), expect_names);

        expect_full_files(dir, q.files, seg_m / 2);
        for (const out_file& f : q.files)
            expect_offset_sine_rows(f, parse_rows(dir.read(f.name)), df);
        const double english = q.files[0].unit;
        EXPECT_NEAR(console_number(run.console, "\n overall rms = "), amplitude / sqrt2 * english,
                    1e-3 * amplitude * english);
    }
}

// Files of the same names from an earlier run are replaced, not appended to.
TEST(OutputFiles, ExistingFilesReplaced)
{
    const quantity& q = quantities()[0];
    scratch_dir dir;
    const std::string junk(100000, 'x');
    for (const out_file& f : q.files) dir.write(f.name, junk + "\n");
    run_quantity(dir, q);
    expect_full_files(dir, q.files, seg_m / 2);
}

// When no output file can be created (a folder holds each name), every file is
// reported, the summary is still printed and the run ends normally after the key.
TEST(OutputFiles, NoFileCanBeCreated)
{
    for (const quantity& q : {quantities()[2], quantities()[5]}) {
        scratch_dir dir;
        for (const out_file& f : q.files) ASSERT_EQ(mkdir(dir.file(f.name).c_str(), 0755), 0);
        const program_run run = run_quantity(dir, q);
        std::string failures;
        for (const out_file& f : q.files)
            failures += std::string(" Failed to open file: ") + f.name + " \n";
        EXPECT_TRUE(holds(run.console, q.announcement + failures + "\n\n\n m= 256")) << run.console;
        EXPECT_FALSE(holds(run.console, "Failed to write"));
        expect_completed(run);
    }
}

// Result files past a file-size limit: the write fails instead of ending the
// process, each file's failure is reported once and the run completes.
TEST(OutputFiles, FileSizeLimitReportedOnceAndRunCompletes)
{
    const quantity& q = quantities()[0];
    scratch_dir dir;
    dir.write("rec.txt", even_record(8192, 3));
    // Files of 2048 rows, over 40 kB each, past a limit that the console text stays under.
    const program_run run = run_zentri(
        dir, "rec.txt\n" + run_answers(q.type, q.si_unit, 4096, false, false), 60, 20000);
    EXPECT_EQ(occurrences(run.console, " Failed to write file: "), 6) << run.console;
    EXPECT_FALSE(holds(run.console, "Failed to open"));
    expect_completed(run);
}

} // namespace
