// Reading --q, --fn-step and --fn-range, and the oscillators they name for a record.
#include "cli/oscillator_option.h"
#include "cli/option_values.h"
#include "core/script_messages.h"

#include <cmath>
#include <cstdlib>

oscillator_option_state oscillator_option{};

void take_q(const char* text)
{
    double q = 0.;
    if (!positive_number(text, q) || !(q > 0.5))
        script_exit(2, "--q %s: a quality factor above 0.5 is expected", text);
    oscillator_option.q = q;
}

void take_fn_step(const char* text)
{
    long b = 0;
    if (!read_whole_number(text, 1, 24, b) || (b != 1 && b != 3 && b != 6 && b != 12 && b != 24))
        script_exit(2, "--fn-step %s: the natural frequencies per octave must be 1, 3, 6, 12 or 24",
                    text);
    oscillator_option.fn_step = static_cast<int>(b);
}

void take_fn_range(const char* text)
{
    char* colon = nullptr;
    char* end = nullptr;
    const double low = std::strtod(text, &colon);
    const bool split = colon != text && *colon == ':';
    const double high = split ? std::strtod(colon + 1, &end) : 0.;
    if (!split || end == colon + 1 || *end != '\0' || !std::isfinite(low) || !std::isfinite(high) ||
        !(low > 0.) || !(low < high))
        script_exit(2, "--fn-range %s: LOW:HIGH in Hz is expected, 0 < LOW < HIGH", text);
    oscillator_option.low = low;
    oscillator_option.high = high;
}

oscillator_options chosen_oscillators(double sr)
{
    oscillator_options o = default_oscillators(sr);
    if (oscillator_option.q > 0.) o.q = oscillator_option.q;
    if (oscillator_option.fn_step > 0) o.fn_step = oscillator_option.fn_step;
    if (oscillator_option.high > 0.) {
        o.low = oscillator_option.low;
        o.high = oscillator_option.high;
    }
    return o;
}

oscillator_options asked_oscillators(double sr)
{
    const oscillator_options o = chosen_oscillators(sr);
    const std::string fault = oscillator_fault(o, sr);
    if (!fault.empty()) script_exit(2, "%s", fault.c_str());
    return o;
}

void reset_oscillator_option()
{
    oscillator_option = {};
}
