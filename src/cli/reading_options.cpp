// Reading and checking the options of the spectrum's readings.
#include "cli/reading_options.h"
#include "cli/command_line.h"
#include "cli/option_values.h"
#include "core/quantities.h"
#include "core/script_messages.h"
#include "readings/band_power.h"
#include "readings/derived_psd.h"
#include "readings/octave_bands.h"

#include <cmath>
#include <cstdlib>
#include <string>

reading_given_state reading_given{};

namespace {

constexpr long most_tones = 32768; // the lines of the longest spectrum

// The motion quantities other than the record's, for a message: "velocity or displacement".
std::string derivable_list(int from)
{
    std::string s;
    for (int q = 1; q <= volts; ++q)
        if (derivable(from, q)) s += std::string(s.empty() ? "" : " or ") + quantity_name(q);
    return s;
}

// The quantity code of a name that can be derived from the record's, or 0.
int derived_code(const std::string& name)
{
    for (int q = 1; q <= volts; ++q)
        if (name == quantity_name(q) && derivable(st.input_type, q)) return q;
    return 0;
}

// Adds the quantity named by one item of --also, once.
void add_derived(const std::string& item)
{
    const int q = derived_code(folded(item.c_str()));
    if (q == 0)
        script_exit(2, "--also %s: '%s' is not derived from %s; use %s",
                    reading_given.also_given.c_str(), item.c_str(), quantity_name(st.input_type),
                    derivable_list(st.input_type).c_str());
    std::vector<int>& also = opts.readings.also;
    for (int known : also)
        if (known == q) return;
    also.push_back(q);
}

} // namespace

void take_tones(const char* text)
{
    long n = 0;
    if (!read_whole_number(text, 0, most_tones, n))
        script_exit(2, "--tones %s: a whole number from 0 (none) to %ld is expected", text,
                    most_tones);
    opts.readings.tones = static_cast<int>(n);
}

void take_band(const char* text)
{
    char* colon = nullptr;
    char* end = nullptr;
    const double low = std::strtod(text, &colon);
    const bool split = colon != text && *colon == ':';
    const double high = split ? std::strtod(colon + 1, &end) : 0.;
    if (!split || end == colon + 1 || *end != '\0' || !std::isfinite(low) || !std::isfinite(high) ||
        low < 0. || !(low < high))
        script_exit(2, "--band %s: LOW:HIGH in Hz is expected, 0 <= LOW < HIGH", text);
    opts.readings.bands.push_back({low, high});
}

void take_octave(const char* text)
{
    const std::string t = text;
    for (int b : {1, 3, 6, 12, 24})
        if (t == std::to_string(b)) {
            opts.readings.octave = b;
            return;
        }
    script_exit(2, "--octave %s: the bands per octave must be 1, 3, 6, 12 or 24", text);
}

void take_also(const char* text)
{
    reading_given.also_given = text;
}

void check_reading_options()
{
    if (reading_given.also_given.empty() || opts.survey_only) return;
    if (derivable_list(st.input_type).empty())
        script_exit(2,
                    "--also %s: a %s record gives no other quantity; acceleration, velocity and"
                    " displacement records do",
                    reading_given.also_given.c_str(), quantity_name(st.input_type));
    for (std::size_t at = 0;;) {
        const std::size_t comma = reading_given.also_given.find(',', at);
        add_derived(
            reading_given.also_given.substr(at, comma == std::string::npos ? comma : comma - at));
        if (comma == std::string::npos) break;
        at = comma + 1;
    }
}

void warn_of_readings(const psd_view& view)
{
    const double low = 0.5 * view.df, high = (view.bins() - 0.5) * view.df;
    for (const band_request& b : opts.readings.bands)
        if (!band_in_spectrum(view, b.low, b.high))
            script_warning("--band %g:%g: beyond the spectrum's lines (%g to %g Hz); its rms is 0",
                           b.low, b.high, low, high);
    const int per_octave = opts.readings.octave;
    if (per_octave != 0 && octave_bands(view, per_octave).empty())
        script_warning("--octave %d: no band fits within the spectrum's lines (%g to %g Hz);"
                       " the octave files have no rows",
                       per_octave, low, high);
}

void reset_reading_given()
{
    reading_given = reading_given_state{};
}
