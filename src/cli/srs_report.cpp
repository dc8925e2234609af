// The report's lines of a set's shock response spectrum and its check.
#include "cli/srs_report.h"
#include "cli/srs_option.h"
#include "output/json_summary.h"
#include "platform/console_format.h"

#include <cstdio>

namespace {

// A frequency as the report gives it: three digits ("10.0", "74.3"), whole
// hertz from 100 Hz ("205", "2500").
std::string frequency_text(double f)
{
    char text[40];
    zsprint(text, sizeof text, f < 99.95 ? "%#.3g" : "%.0f", f);
    return text;
}

// The step of the natural frequencies: "1/12 octave", or "octave".
std::string step_text(int fn_step)
{
    return fn_step == 1 ? "octave" : "1/" + std::to_string(fn_step) + " octave";
}

// Prints the check against the shock profile: the bands, the shares within them, the worst.
void report_srs_check(const std::string& prefix, const srs_outcome& srs)
{
    const srs_check& c = *srs.check;
    const char* p = prefix.c_str();
    zfprint(stdout, "%ssrs profile: %s, inner limits %+g/%+g dB, outer limits %+g/%+g dB\n", p,
            real_path(srs_option.profile).c_str(), srs.band.low, srs.band.high, 2. * srs.band.low,
            2. * srs.band.high);
    zfprint(stdout,
            "%ssrs within inner limits: %.1f %% of %lu natural frequencies (at least 90 %%);"
            " within outer limits: %lu of %lu\n",
            p, 100. * c.share_within_inner, static_cast<unsigned long>(c.rows.size()),
            static_cast<unsigned long>(c.within_outer), static_cast<unsigned long>(c.rows.size()));
    zfprint(stdout, "%ssrs worst deviation: %+.2f dB at %s Hz\n", p, c.worst_deviation_db,
            frequency_text(c.worst_frequency).c_str());
    zfprint(stdout, "%ssrs verdict: %s\n", p, c.within ? "within tolerance" : "outside tolerance");
}

} // namespace

void report_srs(const std::string& prefix, const channel_outcome& set)
{
    if (!set.srs) return;
    const srs_outcome& srs = *set.srs;
    const oscillator_options& o = srs.oscillators;
    const srs_row& peak = srs.result.rows[srs.peak_row];
    zfprint(stdout,
            "%ssrs (Q %g, %s, %s to %s Hz): peak %.3e G at %s Hz; velocity change %.3e m/sec",
            prefix.c_str(), o.q, step_text(o.fn_step).c_str(), frequency_text(o.low).c_str(),
            frequency_text(o.high).c_str(), peak.maximax * srs.to_g,
            frequency_text(peak.fn).c_str(), srs.result.velocity_change);
    if (srs.result.upsampling > 1) zfprint(stdout, "; upsampling %d", srs.result.upsampling);
    zfprint(stdout, "\n%sshock: record peak %.3e G, velocity change %.3e in/sec\n", prefix.c_str(),
            srs.result.peak * srs.to_g, srs.result.velocity_change_ips);
    if (srs.check) report_srs_check(prefix, srs);
}
