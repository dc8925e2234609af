// Reading --vrs, --fds, --rainflow, --sn and --duration and checking them against the record.
#include "cli/fatigue_option.h"
#include "cli/command_line.h"
#include "cli/option_values.h"
#include "core/analysis_state.h"
#include "core/quantities.h"
#include "core/script_messages.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

// The record before any option: nothing asked, the S-N constant 1.
fatigue_option_state unset_fatigue_option()
{
    return {false, 0., false, 0., 1., 0.};
}

// The number at text up to end, above 0 and finite; false for anything else.
bool positive_part(const char* text, char*& end, double& value)
{
    errno = 0;
    value = std::strtod(text, &end);
    return end != text && errno == 0 && std::isfinite(value) && value > 0.;
}

// The first of the response and fatigue options given, nullptr for none.
const char* first_given()
{
    if (fatigue_option.vrs) return "--vrs";
    if (fatigue_option.fds > 0.) return "--fds";
    if (fatigue_option.rainflow) return "--rainflow";
    if (fatigue_option.sn_exponent > 0.) return "--sn";
    if (fatigue_option.duration > 0.) return "--duration";
    return nullptr;
}

} // namespace

fatigue_option_state fatigue_option = unset_fatigue_option();

void take_vrs(const char* /*unused*/)
{
    fatigue_option.vrs = true;
}

void take_fds(const char* text)
{
    double b = 0.;
    if (!positive_number(text, b))
        script_exit(2, "--fds %s: an S-N exponent above 0 is expected", text);
    fatigue_option.fds = b;
}

void take_rainflow(const char* /*unused*/)
{
    fatigue_option.rainflow = true;
}

void take_sn(const char* text)
{
    char* end = nullptr;
    double b = 0.;
    double c = 1.;
    bool sound = positive_part(text, end, b);
    if (sound && *end == ':') sound = positive_part(end + 1, end, c);
    if (!sound || *end != '\0')
        script_exit(2, "--sn %s: B[:C] is expected, an S-N exponent and constant above 0", text);
    fatigue_option.sn_exponent = b;
    fatigue_option.sn_constant = c;
}

void take_duration(const char* text)
{
    double seconds = 0.;
    if (!positive_number(text, seconds))
        script_exit(2, "--duration %s: a duration above 0 sec is expected", text);
    fatigue_option.duration = seconds;
}

void check_fatigue_options()
{
    const char* given = first_given();
    if (given == nullptr) return;
    refuse_with_survey(given);
    const bool response = fatigue_option.vrs || fatigue_option.fds > 0.;
    if (response && st.input_type != 1)
        script_exit(2, "%s: the response spectra need an acceleration record, not %s",
                    fatigue_option.vrs ? "--vrs" : "--fds", quantity_name(st.input_type));
}

bool rainflow_asked()
{
    return fatigue_option.rainflow || fatigue_option.sn_exponent > 0.;
}

void reset_fatigue_option()
{
    fatigue_option = unset_fatigue_option();
}
