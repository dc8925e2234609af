// The oscillators' defaults, their natural frequencies and the check of their options.
#include "readings/oscillators.h"
#include "platform/console_format.h"
#include "readings/octave_bands.h"

#include <cmath>

namespace {

// A message formed through the program's formatter.
std::string message(const char* fmt, double a, double b = 0.)
{
    char text[200];
    zsprint(text, sizeof text, fmt, a, b);
    return text;
}

} // namespace

oscillator_options default_oscillators(double sr)
{
    return {10., 12, 10., sr / 4.};
}

std::string oscillator_fault(const oscillator_options& o, double sr)
{
    if (!(o.q > 0.5) || !std::isfinite(o.q))
        return message("Q %g: the quality factor must be above 0.5", o.q);
    if (!octave_fraction_known(o.fn_step))
        return message("1/%g octave: the step must be 1/1, 1/3, 1/6, 1/12 or 1/24 octave",
                       o.fn_step);
    if (!(o.low > 0.) || !(o.high >= o.low) || !std::isfinite(o.high))
        return message("%g to %g Hz: the range must run from above 0 Hz upwards", o.low, o.high);
    const std::vector<double> fn = natural_frequencies(o);
    if (fn.empty())
        return message("no natural frequency of the step lies from %g to %g Hz", o.low, o.high);
    if (!(fn.back() < sr / 2.))
        return message("the natural frequency %g Hz is at or above half the sample rate, %g Hz",
                       fn.back(), sr / 2.);
    return "";
}

std::vector<double> natural_frequencies(const oscillator_options& o)
{
    return octave_centres(o.fn_step, o.low, o.high);
}
