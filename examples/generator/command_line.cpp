// The generator's command line: its options read into a recipe, checked, and its usage text.
#include "command_line.h"

#include <cmath>
#include <cstdlib>
#include <getopt.h>

namespace {

const char usage[] =
    "Usage: zentri-gen [options]\n"
    "Writes a synthetic time history with known answers for zentri: pairs of time (s)\n"
    "and amplitude, one pair per line, no header. The expected results (overall rms,\n"
    "peak, the answers to zentri's quantity and unit questions) go to standard error.\n"
    "\n"
    "  -n, --samples N        number of pairs (default 4096)\n"
    "  -r, --rate SR          sample rate, samples/s (default 1024)\n"
    "  -t, --start T          time of the first pair, s (default 0)\n"
    "  -s, --sine A,F[,P]     add a sine of amplitude A (zero-peak) at F Hz with phase\n"
    "                         P degrees (default 0); may be repeated\n"
    "  -w, --noise L,F1,F2    add random-phase noise of one-sided PSD level L (unit^2/Hz)\n"
    "                         from F1 to F2 Hz; may be repeated\n"
    "  -p, --profile FILE     add random-phase noise shaped to a test profile, a file\n"
    "                         as zentri --profile reads (unit^2/Hz), over its range\n"
    "                         and half an octave on either side, on its end slopes\n"
    "  -c, --offset C         add the constant C to every sample\n"
    "  -q, --quantity Q       acceleration, velocity, displacement, force, pressure or\n"
    "                         volts, or its menu number 1..6 (default acceleration)\n"
    "  -u, --unit U           unit of the amplitude column (default the first one):\n"
    "                         acceleration G m/sec^2; velocity in/sec m/sec;\n"
    "                         displacement inch mils micro-inches meters mm microns;\n"
    "                         force lbf N; pressure psi Pa; volts V\n"
    "  -S, --seed N           seed of the noise phases (default 1)\n"
    "  -o, --output FILE      write the record to FILE instead of standard output\n"
    "  -h, --help             print this text\n"
    "\n"
    "Example: zentri-gen -s 1,50 -w 0.0001,10,410 -c 0.5 -o rec.txt\n";

// Splits "a,b,c" into numbers; true when it holds between min_n and max_n finite numbers.
bool read_numbers(const char* text, double* out, int min_n, int max_n, int* n)
{
    *n = 0;
    const char* p = text;
    for (;;) {
        char* end = nullptr;
        const double v = std::strtod(p, &end);
        if (end == p || !std::isfinite(v) || *n == max_n) return false;
        out[(*n)++] = v;
        if (*end == '\0') return *n >= min_n;
        if (*end != ',') return false;
        p = end + 1;
    }
}

// Reads one number; true when the whole text is a finite number.
bool read_number(const char* text, double* v)
{
    int n = 0;
    return read_numbers(text, v, 1, 1, &n);
}

// Checks the recipe as a whole once every option is read; empty when it is sound.
std::string check_recipe(const recipe& r)
{
    if (r.count < 2 || r.count > 99999998) return "the number of pairs must be 2 to 99999998";
    if (!(r.rate > 0.)) return "the sample rate must be above 0";
    const double nyquist = r.rate / 2.;
    for (const sine_part& s : r.sines) {
        if (!(s.frequency > 0. && s.frequency < nyquist))
            return "a sine frequency must lie above 0 and below half the sample rate";
    }
    for (const noise_part& w : r.noises) {
        if (!(w.level >= 0. && w.low >= 0. && w.low < w.high && w.high <= nyquist))
            return "a noise band needs a level >= 0 and 0 <= F1 < F2 <= half the sample rate";
    }
    if (!r.profile.empty() && !(r.profile.front().frequency < nyquist))
        return "the profile must start below half the sample rate";
    return "";
}

// Reads the profile file of -p into the recipe; false with error set when it is not sound.
bool take_profile(const char* path, recipe& r, std::string& error)
{
    const profile_reading p = read_profile_file(path);
    if (p.error.empty()) {
        r.profile = p.points;
        r.profile_file = path;
        return true;
    }
    error =
        std::string(path) + (p.line > 0 ? " line " + std::to_string(p.line) : "") + ": " + p.error;
    return false;
}

// Applies one option to the recipe; false with error set when its value is wrong.
bool apply_option(int opt, const char* arg, recipe& r, std::string& error)
{
    double v[3] = {0., 0., 0.};
    int n = 0;
    switch (opt) {
    case 'n':
        if (!read_number(arg, v) || v[0] != std::floor(v[0])) break;
        r.count = static_cast<long>(std::fmin(v[0], 1e9));
        return true;
    case 'r':
        if (!read_number(arg, &r.rate)) break;
        return true;
    case 't':
        if (!read_number(arg, &r.start)) break;
        return true;
    case 'c':
        if (!read_number(arg, &r.offset)) break;
        return true;
    case 's':
        if (!read_numbers(arg, v, 2, 3, &n)) break;
        r.sines.push_back({v[0], v[1], v[2]});
        return true;
    case 'w':
        if (!read_numbers(arg, v, 3, 3, &n)) break;
        r.noises.push_back({v[0], v[1], v[2]});
        return true;
    case 'S':
        if (!read_number(arg, v) || v[0] < 0. || v[0] != std::floor(v[0])) break;
        r.seed = static_cast<unsigned long long>(v[0]);
        return true;
    case 'p': return take_profile(arg, r, error);
    case 'o': r.output = arg; return true;
    default: return false;
    }
    error = std::string("bad value '") + arg + "' for -" + static_cast<char>(opt);
    return false;
}

// Settles the quantity and unit words (given or default) into the recipe.
bool settle_units(const std::string& q, const std::string& u, recipe& r, std::string& error)
{
    r.quantity = find_quantity(q);
    if (r.quantity == nullptr) {
        error = "unknown quantity '" + q + "'";
        return false;
    }
    r.unit = u.empty() ? &english_unit(*r.quantity) : find_unit(*r.quantity, u);
    if (r.unit == nullptr) {
        error = "unknown unit '" + u + "' for " + r.quantity->name;
        return false;
    }
    return true;
}

} // namespace

command read_command_line(int argc, char** argv, recipe& r, std::string& error)
{
    static const option long_options[] = {
        {"samples", required_argument, nullptr, 'n'},
        {"rate", required_argument, nullptr, 'r'},
        {"start", required_argument, nullptr, 't'},
        {"sine", required_argument, nullptr, 's'},
        {"noise", required_argument, nullptr, 'w'},
        {"offset", required_argument, nullptr, 'c'},
        {"quantity", required_argument, nullptr, 'q'},
        {"unit", required_argument, nullptr, 'u'},
        {"seed", required_argument, nullptr, 'S'},
        {"output", required_argument, nullptr, 'o'},
        {"profile", required_argument, nullptr, 'p'},
        {"help", no_argument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    std::string quantity = "acceleration";
    std::string unit;
    opterr = 0;
    optind = 1;
    int opt = 0;
    const char* shorts = "n:r:t:s:w:c:q:u:S:o:p:h";
    while ((opt = getopt_long(argc, argv, shorts, long_options, nullptr)) != -1) {
        if (opt == 'h') return command::show_usage;
        if (opt == 'q') {
            quantity = optarg;
        } else if (opt == 'u') {
            unit = optarg;
        } else if (!apply_option(opt, optarg, r, error)) {
            if (error.empty())
                error = "unknown option or missing value: " + std::string(argv[optind - 1]);
            return command::bad_usage;
        }
    }
    if (optind < argc) {
        error = std::string("unexpected argument '") + argv[optind] + "'";
        return command::bad_usage;
    }
    if (!settle_units(quantity, unit, r, error)) return command::bad_usage;
    error = check_recipe(r);
    return error.empty() ? command::make_record : command::bad_usage;
}

const char* usage_text()
{
    return usage;
}
