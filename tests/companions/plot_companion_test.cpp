// The plotting companion on real zentri result files: pictures, labels, rows left out.
#include "png_header.h"
#include "run_program.h"
#include "shell_command.h"

#include <gtest/gtest.h>

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
    const std::size_t title = script.find("set title '" + name + "'");
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
    EXPECT_EQ(size.width, 800u);
    EXPECT_EQ(size.height, 600u);
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
        EXPECT_EQ(count_of(dry.out, "set title "), c.files);
        EXPECT_EQ(count_of(dry.out, "set logscale xy"), c.files);
        // Every file of the run is known by name: none falls back to a bare label.
        EXPECT_EQ(count_of(dry.out, "set ylabel 'PSD' "), 0) << dry.out;
        EXPECT_EQ(count_of(dry.out, "set ylabel 'magnitude' "), 0) << dry.out;
    }
}

TEST(PlotCompanion, PutsTheRunsParametersUnderEachTitleFromItsSummary)
{
    scratch_dir dir;
    dir.write("rec.txt", std::string(std::istreambuf_iterator<char>(
                                         std::ifstream(examples + "/example_record.txt").rdbuf()),
                                     {}));
    ASSERT_EQ(run_zentri_args(
                  dir, {"-q", "6", "-m", "512", "-o", "out", "--summary", "out/s.json", "rec.txt"})
                  .exit_status,
              0);
    const std::string caption = ".\"\\n\".'m=512, df=2.000e+000 Hz, nave=15, hanning window, "
                                "overall rms=8.154e-001 V' noenhanced";
    EXPECT_EQ(count_of(run_command(dir.path(), plot + " -n out").out, caption), 1);
    EXPECT_EQ(count_of(run_command(dir.path(), plot + " -n --summary out/s.json .").out, caption),
              0)
        << "no result files in .";
    dir.write("out/t.json", dir.read("out/s.json"));
    const command_result two = run_command(dir.path(), plot + " -n out");
    EXPECT_EQ(count_of(two.out, caption), 0) << "two summaries: which run is unclear";
    EXPECT_NE(two.err.find("several summaries"), std::string::npos);
    EXPECT_EQ(count_of(run_command(dir.path(), plot + " -n --summary out/t.json out").out, caption),
              1);
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
}

} // namespace
