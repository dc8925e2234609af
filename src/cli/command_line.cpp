// The scripted run's option table and its reading with getopt_long, the help and the version.
#include "cli/command_line.h"
#include "cli/fatigue_option.h"
#include "cli/history_option.h"
#include "cli/layout_options.h"
#include "cli/option_values.h"
#include "cli/oscillator_option.h"
#include "cli/profile_option.h"
#include "cli/reading_options.h"
#include "cli/srs_option.h"
#include "core/analysis_state.h"
#include "core/quantities.h"
#include "core/script_messages.h"
#include "output/file_sets.h"
#include "output/reading_file_table.h"
#include "platform/console_format.h"

#include <cstdlib>
#include <cstring>
#include <getopt.h>
#include <string>
#include <vector>

script_options opts;

namespace {

constexpr int help_column = 24; // where the help text of an option starts

// One option: its names, its value's name in the help (nullptr for a switch),
// its help lines ('\n' between them) and what it does with its value.
struct option_row {
    const char* name;
    char letter; // short form, or 0 for none
    const char* value;
    const char* help;
    void (*take)(const char* value);
};

void print_help(const char* unused);
void print_version(const char* unused);
void print_file_table(const char* unused);

// Every option of the scripted run, in the order of the help text.
const option_row option_table[] = {
    {"quantity", 'q', "NAME",
     "acceleration, velocity, displacement, force,\npressure or volts (or 1 to 6)",
     [](const char* v) { st.input_type = quantity_code(v); }},
    {"unit", 'u', "UNIT",
     "the record's unit: G, m/sec^2, in/sec, m/sec, inch,\nmils, micro-inch, meters, mm, "
     "microns, lbf, N,\npsi, Pa (or the menu number); none for volts",
     [](const char* v) { opts.unit = v; }},
    {"samples", 'm', "M", "samples per segment, a power of two from 2 to 65536",
     [](const char* v) {
         set_segment_length(v);
         opts.samples_given = true;
     }},
    {"mean", 0, nullptr, "remove each segment's mean (the default)",
     [](const char*) { st.mean_choice = mean_removed; }},
    {"no-mean", 0, nullptr, "keep each segment's mean",
     [](const char*) { st.mean_choice = mean_kept; }},
    {"window", 'w', "NAME", "hanning (the default) or rectangular",
     [](const char* v) { st.window_choice = window_code(v); }},
    {"output", 'o', "DIR", "folder for the result files, made if missing\n(default: .)",
     [](const char* v) { opts.output_dir = v; }},
    {"summary", 0, "FILE", "write the run's summary as JSON to FILE",
     [](const char* v) { opts.summary = v; }},
    {"column", 0, "N",
     "the amplitude is in column N of a record of one\nsample per line (column 1 is time); fields "
     "split\n"
     "at blanks, commas or semicolons; header lines\nskipped. Channel N of a sound file",
     take_column},
    {"columns", 0, "all",
     "every column after the time column, each channel's\nfiles into a folder of "
     "its own (at most 16)",
     take_every_column},
    {"reference", 0, "N",
     "with --columns all: column N is the reference; each\nother channel gets H1.frf and H1.coh "
     "against it",
     take_reference},
    {"rate", 0, "HZ", "the record has no time column: time i is i/HZ", take_rate},
    {"scale", 0, "FACTOR",
     "multiply every amplitude by FACTOR first, in single\nprecision (units per full scale of a "
     "sound file)",
     take_scale},
    {"profile", 0, "FILE",
     "check the PSD against a test profile, lines of\n\"FREQ VALUE\" or \"FREQ SLOPE dB/oct\", "
     "into a .chk\nfile; exit status 3 when outside its tolerance",
     take_profile},
    {"tolerance", 0, "DB",
     "the profile's tolerance, +-DB up to 60 (default 3),\nor LOW:HIGH dB such as -1.5:+3",
     take_tolerance},
    {"tones", 0, "N", "list the N strongest tones (default 5, 0 for none)", take_tones},
    {"band", 0, "LOW:HIGH", "print the rms in LOW to HIGH Hz; may be repeated", take_band},
    {"octave", 0, "B",
     "write 1/B-octave bands beside each PSD file (.octB);\nB is 1, 3, 6, 12 or 24", take_octave},
    {"also", 0, "LIST",
     "also velocity, displacement or acceleration of a\nmotion record, comma-separated: "
     "their files,\nrms, tones and bands",
     take_also},
    {"q", 0, "Q", "the response oscillators' quality factor, above 0.5\n(default 10)", take_q},
    {"fn-step", 0, "B",
     "the oscillators' natural frequencies at the 1/B-octave\ncentres; B is 1, 3, 6, 12 or 24 "
     "(default 12)",
     take_fn_step},
    {"fn-range", 0, "LOW:HIGH",
     "the oscillators' natural frequencies from LOW to HIGH\nHz (default 10 Hz to a quarter of "
     "the rate)",
     take_fn_range},
    {"vrs", 0, nullptr,
     "write A_G.vrs of an acceleration record: per natural\nfrequency the VRS, Miles' estimate "
     "and the ERS (G)",
     take_vrs},
    {"fds", 0, "B", "write A_G.fds, the fatigue damage spectrum with\nS-N exponent B", take_fds},
    {"rainflow", 0, nullptr, "write the record's rainflow count (ASTM E1049)", take_rainflow},
    {"sn", 0, "B[:C]",
     "fatigue damage and life for the S-N curve N S^B = C\n(C = 1 when left out): rainflow, "
     "narrow-band, Dirlik",
     take_sn},
    {"duration", 0, "SEC", "the ERS's and the profile's duration (default the\nrecord's)",
     take_duration},
    {"histogram", 0, "N", "write the histogram of the samples in N bins (8 to\n4096)",
     take_histogram},
    {"running", 0, "SEC",
     "write the rms, peak, crest factor and kurtosis of\nwindows of SEC seconds", take_running},
    {"spectrogram", 0, "K", "write the PSD of every K segments as a spectrogram", take_spectrogram},
    {"hold", 0, nullptr, "write the max-hold and min-hold PSD of the segments", take_hold},
    {"srs", 0, nullptr,
     "write the shock response spectrum of an acceleration\nrecord (A_G.srs, A_ms2.srs) and its "
     "pseudo-velocity\n(V_ips.pvss, V_ms.pvss) at the --q, --fn-step and\n--fn-range oscillators",
     take_srs},
    {"srs-profile", 0, "FILE",
     "check the SRS against a shock profile, lines of\n\"FREQ G\" or \"FREQ SLOPE dB/oct\", into "
     "A_G.srs.chk;\nexit status 3 when outside its tolerance",
     take_srs_profile},
    {"srs-tolerance", 0, "LOW:HIGH",
     "the shock profile's inner band in dB (default\n-1.5:+3): 90 % of the natural frequencies "
     "within\nit, all within twice its limits",
     take_srs_tolerance},
    {"table", 0, nullptr, "write spectrum.csv: every file's values, full precision",
     [](const char*) { opts.readings.table = true; }},
    {"threads", 0, "N",
     "transform on N threads (default: every core the\nprocess may use); 1 when runs are "
     "already in\nparallel (xargs -P, GNU parallel)",
     set_thread_count},
    {"survey", 0, nullptr, "print the survey and its table of segment lengths",
     [](const char*) { opts.survey_only = true; }},
    {"verbose", 0, nullptr, "also print the dialogue run's per-segment text",
     [](const char*) { opts.level = report_level::verbose; }},
    {"quiet", 0, nullptr, "print nothing on standard output but errors",
     [](const char*) { opts.level = report_level::quiet; }},
    {"file-table", 0, nullptr,
     "print every quantity's result files: name, quantity,\ncontent, unit and picture label",
     print_file_table},
    {"help", 'h', nullptr, "print this help and exit", print_help},
    {"version", 'V', nullptr, "print the version and exit", print_version},
};
constexpr int option_count = sizeof option_table / sizeof option_table[0];

// Prints the usage and the options, within 80 columns, and ends with status 0.
void print_help(const char* /*unused*/)
{
    zprint("Usage: zentri [OPTIONS] -q QUANTITY [-u UNIT] -m M RECORD\n"
           "       zentri --survey RECORD\n"
           "       zentri              (the interactive dialogue)\n"
           "Estimates the one-sided PSD of RECORD, a text file of time (s) and amplitude\n"
           "pairs, or a sound file (WAV, RF64, W64, AIFF, CAF, FLAC), by averaging the\n"
           "spectra of half-overlapped segments of M samples, and writes the PSD and\n"
           "magnitude files of the quantity into the output folder. RECORD may be - for\n"
           "standard input, a pipe or a FIFO (gzip -dc rec.txt.gz | zentri ... -).\n\n");
    for (const option_row& row : option_table) {
        std::string head = row.letter != 0 ? std::string("  -") + row.letter + ", --" : "      --";
        head += row.name;
        if (row.value != nullptr) head += std::string(" ") + row.value;
        std::string text = row.help;
        for (std::size_t at = text.find('\n'); at != std::string::npos;
             at = text.find('\n', at + 1))
            text.insert(at + 1, help_column, ' ');
        // A head that fills its column stands on a line of its own.
        if (head.size() >= static_cast<std::size_t>(help_column))
            head += "\n" + std::string(help_column, ' ');
        zprint("%-*s%s\n", help_column, head.c_str(), text.c_str());
    }
    zprint("\nExit status: 0 done, 1 the run failed, 2 a wrong command line, 3 done but\n"
           "outside the profile's tolerance.\n"
           "See man zentri for the summary's JSON and the output files.\n");
    std::fflush(stdout);
    std::exit(0);
}

// Prints the program's name and version and ends with status 0.
void print_version(const char* /*unused*/)
{
    zprint("zentri 3.2\n");
    std::fflush(stdout);
    std::exit(0);
}

// Prints the table of result files, one tab-separated line a file, and ends with status 0.
void print_file_table(const char* /*unused*/)
{
    for (int q = 1; q <= volts; ++q) {
        const file_set& set = file_set_of(q);
        for (int i = 0; i < set.count; ++i) {
            const result_file& file = set.files[i];
            zprint("%s\t%s\t%s\t%s\t%s\n", file.name, quantity_name(q), content_name(file.content),
                   file_unit(q, file).c_str(), plot_label(file).c_str());
        }
    }
    std::size_t count = 0;
    const reading_file* files = reading_files(count);
    for (std::size_t i = 0; i < count; ++i)
        zprint("%s\t%s\t%s\t%s\t%s\n", files[i].name, quantity_name(files[i].quantity),
               files[i].content, files[i].unit, files[i].label);
    std::fflush(stdout);
    std::exit(0);
}

// The short options for getopt_long, from the table: "q:u:m:..." after a ':'
// that makes a missing value come back as ':'.
std::string short_options()
{
    std::string s = ":";
    for (const option_row& row : option_table) {
        if (row.letter == 0) continue;
        s += row.letter;
        if (row.value != nullptr) s += ':';
    }
    return s;
}

// The long options for getopt_long, from the table; each returns its row's index + 256.
std::vector<option> long_options()
{
    std::vector<option> v;
    v.reserve(option_count + 1);
    for (int i = 0; i < option_count; ++i)
        v.push_back({option_table[i].name,
                     option_table[i].value != nullptr ? required_argument : no_argument, nullptr,
                     256 + i});
    v.push_back({nullptr, 0, nullptr, 0});
    return v;
}

// The row of an option returned by getopt_long, or nullptr.
const option_row* row_of(int code)
{
    if (code >= 256 && code < 256 + option_count) return &option_table[code - 256];
    for (const option_row& row : option_table)
        if (row.letter != 0 && row.letter == code) return &row;
    return nullptr;
}

// Ends with a usage error for an unknown option or a missing value.
[[noreturn]] void bad_option(int code, char** argv)
{
    const char* given = argv[optind - 1];
    if (code == ':') script_exit(2, "%s: a value is required; try 'zentri --help'", given);
    if (optopt != 0) script_exit(2, "-%c: unknown option; try 'zentri --help'", optopt);
    script_exit(2, "%s: unknown or ambiguous option; try 'zentri --help'", given);
}

// Takes the one record name left after the options.
void take_record(int argc, char** argv)
{
    if (optind == argc) script_exit(2, "no record given; try 'zentri --help'");
    if (argc - optind > 1)
        script_exit(2, "%s: one record per run; run several zentri in parallel for more",
                    argv[optind + 1]);
    opts.record = argv[optind];
}

} // namespace

std::vector<option_name> option_names()
{
    std::vector<option_name> names;
    for (const option_row& row : option_table)
        names.push_back({row.name, row.letter, row.value != nullptr});
    return names;
}

void read_command_line(int argc, char** argv)
{
    opts.output_dir = ".";
    st.mean_choice = mean_removed;
    st.window_choice = hanning_window;
    const std::string shorts = short_options();
    const std::vector<option> longs = long_options();
    opterr = 0;
    for (int code; (code = getopt_long(argc, argv, shorts.c_str(), longs.data(), nullptr)) != -1;) {
        const option_row* row = row_of(code);
        if (row == nullptr) bad_option(code, argv);
        row->take(optarg);
    }
    take_record(argc, argv);
    check_choices();
    check_layout_options();
    check_reading_options();
    check_fatigue_options();
    check_history_options();
}

void reset_script_options()
{
    opts = script_options{};
}
