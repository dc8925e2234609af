// Reading a tolerance band in decibels.
#include "readings/decibel_tolerance.h"

#include <cmath>
#include <cstdlib>

namespace {

// The whole text as one finite number, or false.
bool whole_number(const std::string& text, double& v)
{
    if (text.empty()) return false;
    char* end = nullptr;
    v = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(v);
}

} // namespace

decibel_tolerance read_decibel_tolerance(const std::string& text)
{
    const std::size_t colon = text.find(':');
    double low = 0., high = 0.;
    if (colon == std::string::npos) {
        if (!whole_number(text, high) || !(high > 0.))
            return {0., 0., "a positive number of dB or LOW:HIGH is expected"};
        return {-high, high, ""};
    }
    if (!whole_number(text.substr(0, colon), low) || !whole_number(text.substr(colon + 1), high))
        return {0., 0., "LOW:HIGH in dB is expected, such as -1.5:+3"};
    if (!(low <= 0.) || !(high >= 0.) || !(high > low))
        return {0., 0., "LOW must be at most 0 dB and HIGH at least 0 dB, not both 0"};
    return {low, high, ""};
}
