// Printing the VRS peak, the FDS comparison and the damage estimates of a set.
#include "cli/fatigue_report.h"
#include "platform/console_format.h"

#include <cmath>

namespace {

// Prints the VRS's peak and how many natural frequencies have no row.
void report_vrs(const std::string& prefix, const vrs_outcome& v)
{
    zfprint(stdout, "%svrs (q %g): peak %.3e G rms at %.1f Hz", prefix.c_str(), v.q, v.peak,
            v.peak_frequency);
    if (v.rows_left_out > 0)
        zfprint(stdout, "; %d natural frequencies without Miles or ERS left out", v.rows_left_out);
    zfprint(stdout, "\n");
}

// Prints where the profile covers the record's FDS least, or where it does not
// cover it; without a profile, where the record's damage is largest.
void report_fds(const std::string& prefix, const fds_outcome& f)
{
    zfprint(stdout, "%sfds (b %g): ", prefix.c_str(), f.exponent);
    if (!f.has_profile)
        zfprint(stdout, "the record's damage potential is largest at %.1f Hz, %.3e m^b\n",
                f.peak_frequency, f.peak);
    else if (f.uncovered == 0)
        zfprint(stdout,
                "the profile over %g sec covers the record by a factor of %#.3g at least"
                " (at %.1f Hz)\n",
                f.duration, f.smallest_ratio, f.smallest_ratio_fn);
    else
        zfprint(stdout,
                "the profile over %g sec does not cover the record at %u natural frequencies"
                " from %.1f to %.1f Hz, by a factor of %#.3g at %.1f Hz\n",
                f.duration, f.uncovered, f.uncovered_low, f.uncovered_high, f.smallest_ratio,
                f.smallest_ratio_fn);
}

// Prints one life: the duration over the damage, or "none" where the damage is 0 and the
// life has no bound (the summary's null).
void report_life(double life, const char* after)
{
    if (std::isfinite(life))
        zfprint(stdout, "%.3e%s", life, after);
    else
        zfprint(stdout, "none%s", after);
}

// Prints the three damages and their lives side by side.
void report_damage(const std::string& prefix, const damage_outcome& d)
{
    zfprint(stdout,
            "%sdamage (b %g, c %g, over %g sec): rainflow %.3e, narrow-band %.3e,"
            " Dirlik %.3e; lives ",
            prefix.c_str(), d.exponent, d.constant, d.duration, d.rainflow_damage,
            d.narrowband_damage, d.dirlik_damage);
    report_life(d.rainflow_life, ", ");
    report_life(d.narrowband_life, ", ");
    report_life(d.dirlik_life, " sec\n");
}

} // namespace

void report_fatigue(const std::string& prefix, const channel_outcome& set)
{
    if (set.fatigue.vrs.asked) report_vrs(prefix, set.fatigue.vrs);
    if (set.fatigue.fds.asked) report_fds(prefix, set.fatigue.fds);
    if (set.fatigue.damage.asked) report_damage(prefix, set.fatigue.damage);
}
