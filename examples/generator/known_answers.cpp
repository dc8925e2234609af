// The known answers printed beside a generated record: its setting, parts and expected rms.
#include "known_answers.h"
#include "synthesis.h"

#include "platform/console_format.h"
#include "readings/profile_curve.h"

#include <cmath>

namespace {

// Prints the time base, the units and the answers to zentri's quantity and unit menus.
void print_setting(std::FILE* out, const recipe& r)
{
    zfprint(out, " %ld pairs, %.8g samples/s, times %.8g to %.8g s\n", r.count, r.rate, r.start,
            r.start + static_cast<double>(r.count - 1) / r.rate);
    if (r.unit->code == 0)
        zfprint(out, " %s in %s: answer zentri's quantity question with %d (no unit is asked)\n",
                r.quantity->name, r.unit->name, r.quantity->code);
    else
        zfprint(out, " %s in %s: answer zentri's quantity question with %d, the unit with %d\n",
                r.quantity->name, r.unit->name, r.quantity->code, r.unit->code);
}

// Prints every sine, noise band and the offset with their rms values.
void print_parts(std::FILE* out, const recipe& r)
{
    const char* u = r.unit->name;
    for (std::size_t i = 0; i < r.sines.size(); ++i) {
        const sine_part& s = r.sines[i];
        zfprint(out, " sine %d: %.8g %s zero-peak at %.8g Hz, rms %.8g %s\n",
                static_cast<int>(i + 1), s.amplitude, u, s.frequency,
                std::fabs(s.amplitude) / std::sqrt(2.), u);
    }
    for (std::size_t i = 0; i < r.noises.size(); ++i) {
        const noise_part& w = r.noises[i];
        zfprint(out, " noise %d: %.8g %s^2/Hz from %.8g to %.8g Hz\n", static_cast<int>(i + 1),
                w.level, u, w.low, w.high);
    }
    if (!r.profile.empty())
        zfprint(out, " profile noise: %s, %.8g to %.8g Hz, rms %.8g %s over that range\n",
                r.profile_file.c_str(), r.profile.front().frequency, r.profile.back().frequency,
                std::sqrt(profile_mean_square(r.profile)), u);
    if (!r.noises.empty() || !r.profile.empty())
        zfprint(out, " noise rms: %.8g %s\n", std::sqrt(noise_variance(r)), u);
    zfprint(out, " offset: %.8g %s\n", r.offset, u);
}

// Prints the mean, rms and peak of the samples as written.
void print_time_history(std::FILE* out, const recipe& r, const std::vector<double>& x)
{
    double sum = 0., squares = 0., peak = 0.;
    std::size_t at = 0;
    for (std::size_t j = 0; j < x.size(); ++j) {
        sum += x[j];
        squares += x[j] * x[j];
        if (std::fabs(x[j]) > std::fabs(peak)) {
            peak = x[j];
            at = j;
        }
    }
    const double n = static_cast<double>(x.size());
    zfprint(out, " time history: mean %.6g %s, rms %.6g %s, peak %.6g %s at %.8g s\n", sum / n,
            r.unit->name, std::sqrt(squares / n), r.unit->name, peak, r.unit->name,
            r.start + static_cast<double>(at) / r.rate);
}

} // namespace

double expected_overall_rms(const recipe& r)
{
    double ms = noise_variance(r);
    for (const sine_part& s : r.sines) ms += s.amplitude * s.amplitude / 2.;
    return std::sqrt(ms) * r.unit->to_english;
}

void print_known_answers(std::FILE* out, const recipe& r, const std::vector<double>& x)
{
    print_setting(out, r);
    print_parts(out, r);
    print_time_history(out, r, x);
    zfprint(out, " expected overall rms: %.5g %s\n", expected_overall_rms(r),
            english_unit(*r.quantity).name);
}
