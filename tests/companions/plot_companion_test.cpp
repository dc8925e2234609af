// The plotting companion on real zentri result files: pictures, labels, captions,
// overlays, profile checks, tones, octave bands and transmissibility.
#include "png_header.h"
#include "run_program.h"
#include "shell_command.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// The plotting script, told which zentri gives it the table of result files.
const std::string plot = std::string("ZENTRI=") + ZENTRI_BINARY + " " + ZENTRI_PLOT;
const std::string examples = EXAMPLES_DIR;

// Runs zentri in dir on a copy of the bundled record with the given quantity and unit answers.
void make_results(const scratch_dir& dir, const std::string& type_and_unit)
{
    std::ifstream in(examples + "/example_record.txt", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const program_run run = run_on_record(dir, text, type_and_unit + "256\n1\n2\n\n");
    ASSERT_EQ(run.exit_status, 1);
    ASSERT_NE(run.console.find("overall rms"), std::string::npos) << run.console;
}

// The value-axis label the dry run gives the file name, or "" when it is not there.
std::string label_of(const std::string& script, const std::string& name)
{
    const std::size_t title = script.find("/" + name + ".png'");
    const std::string key = "set ylabel '";
    const std::size_t at = script.find(key, title);
    if (title == std::string::npos || at == std::string::npos) return "";
    return script.substr(at + key.size(), script.find('\'', at + key.size()) - at - key.size());
}

// Counts the occurrences of word in text.
int count_of(const std::string& text, const std::string& word)
{
    int n = 0;
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++n;
    return n;
}

const std::vector<std::string> acceleration_files = {
    "A_G2Hz.psd", "A_ms22Hz.psd", "A_Grms.mag", "A_ms2rms.mag", "A_Gpk.mag", "A_ms2_pk.mag"};

TEST(PlotCompanion, DrawsAPngOfTheAskedSizeForEveryResultFile)
{
    if (!have_program("gnuplot")) GTEST_SKIP() << "gnuplot is not installed";
    scratch_dir dir;
    make_results(dir, "1\n1\n");
    const command_result sized = run_command(dir.path(), plot + " -s 640x480 .");
    EXPECT_EQ(sized.exit_status, 0) << sized.err;
    for (const std::string& name : acceleration_files) {
        const png_size size = read_png_size(dir.file(name + ".png"));
        EXPECT_TRUE(size.valid) << name;
        EXPECT_EQ(size.width, 640u) << name;
        EXPECT_EQ(size.height, 480u) << name;
    }
    EXPECT_EQ(count_lines(sized.out), 6) << sized.out;

    // The default size, into a folder of its own.
    const command_result plain = run_command(dir.path(), plot + " -o pictures .");
    EXPECT_EQ(plain.exit_status, 0) << plain.err;
    const png_size size = read_png_size(dir.file("pictures/A_G2Hz.psd.png"));
    EXPECT_TRUE(size.valid);
    EXPECT_EQ(size.width, 1200u);
    EXPECT_EQ(size.height, 800u);
}

// Quantity and unit answers, one file the run writes and the label it must get.
struct label_case {
    const char* answers;
    int files;
    const char* name;
    const char* label;
};

TEST(PlotCompanion, LabelsTheValueAxisInTheFilesOwnUnit)
{
    const label_case cases[] = {
        {"1\n1\n", 6, "A_G2Hz.psd", "PSD (G^2/Hz)"},
        {"1\n2\n", 6, "A_ms2_pk.mag", "m/sec^2 peak"},
        {"2\n1\n", 6, "V_ms2Hz.psd", "PSD ((m/sec)^2/Hz)"},
        {"2\n2\n", 6, "V_ipsrms.mag", "ips RMS"},
        {"3\n1\n", 14, "D_in_ptp.mag", "inch peak-peak"},
        {"3\n4\n", 14, "Dmin_rms.mag", "micro inch RMS"},
        {"3\n6\n", 14, "Dmic_ztp.mag", "micron zero-peak"},
        {"3\n5\n", 14, "D_m2Hz.psd", "PSD (meters^2/Hz)"},
        {"4\n1\n", 6, "F_Nrms.mag", "N RMS"},
        {"5\n2\n", 6, "P_psi2_Hz.psd", "PSD (psi^2/Hz)"},
        {"6\n", 1, "V2_Hz.psd", "PSD (V^2/Hz)"},
    };
    for (const label_case& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_dir dir;
        make_results(dir, c.answers);
        const command_result dry = run_command(dir.path(), plot + " -n .");
        EXPECT_EQ(dry.exit_status, 0) << dry.err;
        EXPECT_EQ(label_of(dry.out, c.name), c.label);
        EXPECT_EQ(count_of(dry.out, "set title '" + dir.path().substr(5) + "' "), c.files)
            << "no summary: titled with the folder's name";
        EXPECT_EQ(count_of(dry.out, "set logscale xy"), c.files);
        // Every file of the run is known by name: none falls back to a bare label.
        EXPECT_EQ(count_of(dry.out, "set ylabel 'PSD' "), 0) << dry.out;
        EXPECT_EQ(count_of(dry.out, "set ylabel 'magnitude' "), 0) << dry.out;
    }
}

// The bundled record's text.
std::string example_text()
{
    std::ifstream in(examples + "/example_record.txt", std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(PlotCompanion, CaptionsOnlyFromTheSummaryThatListsTheFileAsItIs)
{
    scratch_dir dir;
    dir.write("rec.txt", example_text());
    const auto run = [&](const char* m, const char* summary, const char* window = "hanning") {
        std::vector<std::string> a = {"-q", "6", "-m", m, "-w", window, "-o", "out", "rec.txt"};
        if (*summary) a.insert(a.end(), {"--summary", summary});
        ASSERT_EQ(run_zentri_args(dir, a).exit_status, 0);
    };
    run("512", "out/s.json");
    const std::string caption = "'rec.txt'.\"\\n\".'m=512, df=2.000e+000 Hz, nave=15, hanning "
                                "window, overall rms=8.154e-001 V' noenhanced";
    EXPECT_EQ(count_of(run_command(dir.path(), plot + " -n out").out, caption), 1);
    EXPECT_EQ(count_of(run_command(dir.path(), plot + " -n --summary out/s.json .").out, caption),
              0)
        << "no result files in .";

    // Runs again without a summary: s.json no longer describes V2_Hz.psd, though
    // it lists a file of that size (caught by its age), or is newer (by the size).
    run("512", "", "rectangular");
    const command_result stale = run_command(dir.path(), plot + " -n out");
    EXPECT_EQ(count_of(stale.out, "overall rms="), 0) << stale.out;
    EXPECT_EQ(count_of(stale.out, "set title 'out' "), 1);
    EXPECT_NE(stale.err.find("earlier run"), std::string::npos) << stale.err;
    run("256", "");
    std::filesystem::last_write_time(dir.file("out/s.json"),
                                     std::filesystem::file_time_type::clock::now());
    EXPECT_EQ(count_of(run_command(dir.path(), plot + " -n out").out, "overall rms="), 0);
    run("256", "out/r.json");
    EXPECT_EQ(count_of(run_command(dir.path(), plot + " -n out").out, "'m=256, df=4.000e+000 Hz"),
              1);

    dir.write("out/t.json", dir.read("out/r.json"));
    const command_result two = run_command(dir.path(), plot + " -n out");
    EXPECT_EQ(count_of(two.out, "overall rms="), 0) << "two summaries: which run is unclear";
    EXPECT_NE(two.err.find("several summaries"), std::string::npos);
    EXPECT_EQ(count_of(run_command(dir.path(), plot + " -n --summary out/t.json out").out, "m=256"),
              1);
}

// A sine of amplitude a at 64 Hz, sample i of 1024/s.
double sine_64(double a, int i)
{
    return a * std::sin(2 * M_PI * 64 * i / 1024.);
}

TEST(PlotCompanion, OverlaysTheChannelsOfARunEachWithItsOwnRms)
{
    scratch_dir dir;
    std::string csv = "time,X,Y\n";
    for (int i = 0; i < 4096; ++i)
        csv += std::to_string(i / 1024.) + "," + std::to_string(sine_64(1., i)) + "," +
               std::to_string(sine_64(0.5, i)) + "\n";
    dir.write("rec.csv", csv);
    ASSERT_EQ(run_zentri_args(dir, {"-q", "1", "-u", "G", "-m", "512", "--columns", "all", "-o",
                                    "out", "--summary", "out/run.json", "rec.csv"})
                  .exit_status,
              0);
    // A sine's rms is its amplitude over sqrt(2): 0.7071 and 0.3536 G.
    const command_result overlay = run_command(dir.path(), plot + " -n --overlay out");
    EXPECT_EQ(overlay.exit_status, 0) << overlay.err;
    EXPECT_EQ(count_of(overlay.out, "set output './A_G2Hz.psd.overlay.png'"), 1);
    EXPECT_EQ(count_of(overlay.out, "set title 'rec.csv' "), 6);
    EXPECT_EQ(count_of(overlay.out, "title 'X, overall rms 7.071e-001 G'"), 6) << overlay.out;
    EXPECT_EQ(count_of(overlay.out, "title 'Y, overall rms 3.536e-001 G'"), 6);
    // Each channel's own pictures carry its own rms, not the first channel's.
    const std::string y = run_command(dir.path(), plot + " -n out/Y").out;
    EXPECT_EQ(count_of(y, "set title 'rec.csv, channel Y'"), 6);
    EXPECT_EQ(count_of(y, "overall rms=3.536e-001 G'"), 6) << y;
}

// Adds the fields of extra to the JSON summary of the run in dir.
void add_to_summary(const scratch_dir& dir, const std::string& name, const nlohmann::json& extra)
{
    nlohmann::json summary = nlohmann::json::parse(dir.read(name));
    summary.merge_patch(extra);
    dir.write(name, summary.dump());
}

TEST(PlotCompanion, DrawsTheProfileCheckAndMarksTheTones)
{
    scratch_dir dir;
    dir.write("rec.txt", example_text());
    ASSERT_EQ(
        run_zentri_args(dir, {"-q", "1", "-u", "G", "-m", "256", "--summary", "s.json", "rec.txt"})
            .exit_status,
        0);
    // A check of 4 lines, the 2nd outside its limits, from the PSD's own rows.
    std::ifstream psd(dir.file("A_G2Hz.psd"));
    std::string check, f, v;
    double peak = 0.; // the higher of the lines at 48 and 52 Hz, by the 1 G sine at 50 Hz
    for (int row = 0; psd >> f >> v; ++row) {
        if (std::fabs(std::stod(f) - 50.) < 4.) peak = std::max(peak, std::stod(v));
        if (row >= 10 && row < 14)
            check += f + " 1.0000e-004 5.0119e-005 1.9953e-004 " + v + " 0.00\n";
    }
    dir.write("A_G2Hz.chk", check);
    add_to_summary(dir, "s.json",
                   {{"results", {{"tones", {{{"frequency", 50.}, {"rms", .707}, {"peak", 1.}}}}}},
                    {"profile", {{"within", false}, {"rms_db", 1.5}, {"tolerance_db", 3}}}});
    const command_result dry = run_command(dir.path(), plot + " -n .");
    const std::string mark = "set label 1 '50.00 Hz' at 50.00, ";
    EXPECT_EQ(count_of(dry.out, mark), 6) << "on every file of the run";
    const std::size_t at = dry.out.find(mark);
    ASSERT_NE(at, std::string::npos) << dry.out;
    EXPECT_NEAR(std::stod(dry.out.substr(at + mark.size())), peak, 1e-6 * peak);
    EXPECT_EQ(count_of(dry.out, "outside tolerance (±3 dB), rms ratio +1.50 dB"), 1);
    for (const char* curve :
         {"using 1:2 ", "using 1:3 ", "using 1:4 ", "using 1:(($5 < $3 || $5 > $4)"})
        EXPECT_EQ(count_of(dry.out, "'./A_G2Hz.chk' " + std::string(curve)), 1) << curve;

    // The summary of a run without a profile: the check beside is an older run's.
    add_to_summary(dir, "s.json", {{"profile", nullptr}});
    const command_result old = run_command(dir.path(), plot + " -n .");
    EXPECT_EQ(count_of(old.out, "A_G2Hz.chk"), 0) << old.out;
    EXPECT_NE(old.err.find("earlier run's"), std::string::npos) << old.err;
}

TEST(PlotCompanion, DrawsOctaveBandsAsStepsAndH1OverItsCoherence)
{
    scratch_dir dir;
    dir.write("A_G2Hz.oct3",
              "1.0000e+002 1.0000e-004 2.1e-002 \n1.2589e+002 2.0000e-004 3.3e-002 \n");
    std::string frf, coh;
    for (int k = 0; k < 64; ++k) {
        const double f = 4. * k, r = f / 120.;
        const double mag = 1. / std::sqrt((1 - r * r) * (1 - r * r) + 0.01 * r * r);
        frf += std::to_string(f) + " " + std::to_string(mag) + " " +
               std::to_string(-std::atan2(0.1 * r, 1 - r * r) * 180 / M_PI) + "\n";
        coh += std::to_string(f) + " 0.99\n";
    }
    dir.write("H1.frf", frf);
    dir.write("H1.coh", coh);
    const std::string frf_path = std::filesystem::canonical(dir.file("H1.frf"));
    dir.write("s.json",
              nlohmann::json{{"record", {{"path", "/data/shaker.csv"}}},
                             {"files", {{{"path", frf_path}, {"size", frf.size()}}}},
                             {"transmissibility",
                              {{"reference", {{"column", 2}, {"folder", "/data/out/Control"}}},
                               {"peak_frequency", 120.},
                               {"peak_magnitude", 9.99},
                               {"coherence_at_peak", 0.999},
                               {"q", 10.1}}}}
                  .dump());
    const command_result dry = run_command(dir.path(), plot + " -n .");
    EXPECT_EQ(dry.exit_status, 0) << dry.err;
    EXPECT_EQ(count_of(dry.out, "using ($1 * 10 ** (-0.15 / 3)):"), 2) << dry.out;
    EXPECT_EQ(count_of(dry.out, " with steps "), 1);
    EXPECT_EQ(label_of(dry.out, "A_G2Hz.oct3"), "1/3-octave band PSD (G^2/Hz)");
    EXPECT_EQ(count_of(dry.out, "set multiplot title 'shaker.csv'.\"\\n\".'resonance 120.0 Hz, "
                                "|H1| 9.99, Q 10.1, coherence 0.999 (reference Control)'"),
              1);
    for (const char* panel : {"'|H1|'", "'phase (degrees)'", "'coherence'"})
        EXPECT_EQ(count_of(dry.out, "set ylabel " + std::string(panel)), 1) << panel;
    EXPECT_EQ(count_of(dry.out, "plot './H1.frf' using 1:"), 2);
    EXPECT_EQ(count_of(dry.out, "plot './H1.coh' using 1:"), 1);
    EXPECT_EQ(count_of(dry.out, "set label 1 '120.0 Hz' at 120.0, 9.990000e+000"), 1);

    if (!have_program("gnuplot")) GTEST_SKIP() << "gnuplot is not installed";
    EXPECT_EQ(run_command(dir.path(), plot + " .").exit_status, 0);
    EXPECT_TRUE(read_png_size(dir.file("A_G2Hz.oct3.png")).valid);
    EXPECT_TRUE(read_png_size(dir.file("H1.frf.png")).valid);
}

TEST(PlotCompanion, DrawsTheTimeHistoryFiles)
{
    scratch_dir dir;
    std::string record;
    for (int i = 0; i < 8192; ++i)
        record += std::to_string(i / 1024.) + " " +
                  std::to_string(std::sin(i * 0.7) + (i % 7) * 0.1) + "\n";
    dir.write("rec.txt", record);
    ASSERT_EQ(run_zentri_args(dir, {"-q", "1", "-u", "G", "-m", "256", "--histogram", "32",
                                    "--running", "1", "--spectrogram", "4", "--hold", "rec.txt"})
                  .exit_status,
              0);
    const command_result dry = run_command(dir.path(), plot + " -n .");
    EXPECT_EQ(dry.exit_status, 0) << dry.err;
    EXPECT_EQ(count_of(dry.out, "plot './A_G.hist' using 1:(($3 > 0) ? $3 : 1/0) with boxes"), 1)
        << dry.out;
    EXPECT_EQ(count_of(dry.out, "title 'Gaussian'"), 1);
    EXPECT_EQ(count_of(dry.out, "axes x1y2 with steps"), 2) << "crest factor and kurtosis";
    EXPECT_EQ(count_of(dry.out, "with pm3d notitle"), 2) << "English and SI spectrograms";
    for (const char* curve : {"'max-hold'", "'PSD'", "'min-hold'"})
        EXPECT_EQ(count_of(dry.out, std::string("title ") + curve), 2) << curve;
    if (!have_program("gnuplot")) GTEST_SKIP() << "gnuplot is not installed";
    EXPECT_EQ(run_command(dir.path(), plot + " .").exit_status, 0);
    for (const char* png : {"A_G.hist.png", "A_G.run.png", "A_G2Hz.sgram.png", "A_G2Hz.max.png"})
        EXPECT_TRUE(read_png_size(dir.file(png)).valid) << png;
}

TEST(PlotCompanion, LeavesOutRowsALogAxisCannotShow)
{
    if (!have_program("gnuplot")) GTEST_SKIP() << "gnuplot is not installed";
    scratch_dir dir;
    dir.write("A_G2Hz.psd", "0.0000e+000 5.0000e-001 \n1.0000e+000 2.0000e-004 \n"
                            "2.0000e+000 0.0000e+000 \n3.0000e+000 -1.0000e-003 \n"
                            "4.0000e+000 inf \n5.0000e+000 -nan \n6.0000e+000 3.0000e-004 \n");
    dir.write("V2_Hz.psd", "0.0000e+000 1.0000e+000 \n1.0000e+000 0.0000e+000 \n");
    const command_result r = run_command(dir.path(), plot + " .");
    EXPECT_EQ(r.exit_status, 1);
    EXPECT_TRUE(read_png_size(dir.file("A_G2Hz.psd.png")).valid) << r.err;
    EXPECT_FALSE(dir.exists("V2_Hz.psd.png"));
    EXPECT_NE(r.err.find("V2_Hz.psd: no row"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("A_G2Hz.psd"), std::string::npos) << r.err;
}

TEST(PlotCompanion, RefusesAWrongCommandLine)
{
    scratch_dir dir;
    EXPECT_EQ(run_command(dir.path(), plot + " -s 0x480 .").exit_status, 2);
    EXPECT_EQ(run_command(dir.path(), plot + " -s 640 .").exit_status, 2);
    EXPECT_EQ(run_command(dir.path(), plot + " -x .").exit_status, 2);
    EXPECT_EQ(run_command(dir.path(), plot + " a b").exit_status, 2);
    EXPECT_EQ(run_command(dir.path(), plot + " -n missing").exit_status, 1);
    const command_result empty = run_command(dir.path(), plot + " -n .");
    EXPECT_EQ(empty.exit_status, 1);
    EXPECT_NE(empty.err.find("no zentri result files"), std::string::npos) << empty.err;
    EXPECT_EQ(run_command(dir.path(), plot + " -h").exit_status, 0);
    // A folder named with line ends would end gnuplot's string and run the rest.
    const std::string evil = "run\nsystem(\"touch PWNED\")\nx";
    std::filesystem::create_directory(dir.file(evil));
    dir.write(evil + "/A_G2Hz.psd", "1.0000e+000 1.0000e-002 \n2.0000e+000 2.0000e-002 \n");
    const command_result refused =
        run_command(dir.path(), plot + " \"$(printf 'run\\nsystem(\"touch PWNED\")\\nx')\"");
    EXPECT_EQ(refused.exit_status, 1);
    EXPECT_NE(refused.err.find("a path with control characters is refused"), std::string::npos)
        << refused.err;
    EXPECT_FALSE(dir.exists("PWNED"));
}

} // namespace
