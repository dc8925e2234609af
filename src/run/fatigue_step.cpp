// Computing a set's response spectra, FDS, rainflow count and damages, and staging their files.
#include "run/fatigue_step.h"
#include "cli/fatigue_option.h"
#include "cli/oscillator_option.h"
#include "core/analysis_state.h"
#include "core/script_messages.h"
#include "output/fatigue_files.h"
#include "output/staged_files.h"
#include "readings/fatigue_damage_spectrum.h"
#include "readings/response_spectra.h"
#include "readings/spectral_fatigue.h"
#include "run/finished_views.h"
#include "run/rainflow_feed.h"

#include <cmath>
#include <limits>

namespace {

// The durations of a set's results.
struct fatigue_durations {
    double record; // the record's: pairs times dt, sec
    double test;   // --duration, or the record's, sec
};

// The record's duration and the one asked for.
fatigue_durations durations()
{
    const double record = static_cast<double>(st.record_pairs) * st.rec_dt;
    return {record, fatigue_option.duration > 0. ? fatigue_option.duration : record};
}

// Ends the run when a reading could not be computed.
void refuse(const std::string& error)
{
    if (!error.empty()) give_up(error + nothing_written);
}

// The VRS and ERS of the record and of the profile, when one is given: file and peak.
void vrs_results(channel_outcome& set, const result_request& request, const psd_view& view,
                 const std::vector<double>& fn, double q)
{
    const double t = durations().test;
    const response_spectra record = psd_response_spectra(view, fn, q, t);
    refuse(record.error);
    response_spectra profile;
    const bool compared = !request.profile.file.empty();
    if (compared) profile = profile_response_spectra(request.profile.points, fn, q, t);
    refuse(profile.error);
    stage_vrs_file(set, request, record, compared ? &profile : nullptr);
    response_spectra written;
    for (std::size_t i = 0; i < record.points.size(); ++i)
        if (vrs_row_written(record.points[i], compared ? &profile.points[i] : nullptr))
            written.points.push_back(record.points[i]);
    const response_point peak = largest_response(written);
    const int left_out = static_cast<int>(record.points.size() - written.points.size());
    set.fatigue.vrs = {true, q, peak.fn, peak.vrs, left_out};
}

// The FDS of the record over its duration and of the profile over the test duration.
void fds_results(channel_outcome& set, const result_request& request, const psd_view& view,
                 const std::vector<double>& fn, double q)
{
    const fatigue_durations d = durations();
    const bool compared = !request.profile.file.empty();
    const fds_result fds =
        fatigue_damage_spectrum(view, fn, {q, fatigue_option.fds, d.record, d.test},
                                compared ? &request.profile.points : nullptr);
    refuse(fds.error);
    stage_fds_file(set, request, fds);
    fds_outcome& out = set.fatigue.fds;
    out = {true,
           fatigue_option.fds,
           d.record,
           d.test,
           fds.has_profile,
           fds.smallest_ratio,
           fds.smallest_ratio_fn,
           0.,
           0.,
           static_cast<std::uint32_t>(fds.uncovered.size()),
           0.,
           0.};
    for (const fds_point& p : fds.points)
        if (p.record > out.peak) out.peak = p.record, out.peak_frequency = p.fn;
    if (!fds.uncovered.empty()) {
        out.uncovered_low = fds.uncovered.front();
        out.uncovered_high = fds.uncovered.back();
    }
}

// Ends the channel's rainflow count, stages its file when asked, and warns of
// cycles counted early and samples left out.
const rainflow_state& rainflow_results(channel_outcome& set, const result_request& request,
                                       int channel)
{
    const rainflow_state& s = finished_rainflow(channel);
    if (fatigue_option.rainflow)
        stage_rainflow_file(set, request, st.input_type, rainflow_rows(channel));
    if (s.early_halves > 0)
        script_warning("rainflow: the residue reached %lu turning points; %lu half cycles were"
                       " counted before the record's end",
                       static_cast<unsigned long>(s.cap),
                       static_cast<unsigned long>(s.early_halves));
    if (s.non_finite > 0)
        script_warning("rainflow: %lu samples that are not numbers were left out of the count",
                       static_cast<unsigned long>(s.non_finite));
    return s;
}

// The damages and lives by Miner's sum of the count and by the PSD's spectral methods.
void damage_results(channel_outcome& set, const psd_view& view, const rainflow_state& count)
{
    const sn_curve sn{fatigue_option.sn_exponent, fatigue_option.sn_constant};
    const double t = durations().record;
    const spectral_fatigue spectral = psd_fatigue(view, sn, t);
    refuse(spectral.error);
    // The count is in the record's unit; S^B scales with the factor's B-th power.
    const double rainflow = count.damage * std::pow(first_unit_factor(), sn.exponent);
    set.fatigue.damage = {true,
                          sn.exponent,
                          sn.constant,
                          t,
                          rainflow,
                          spectral.narrowband_damage,
                          spectral.dirlik_damage,
                          fatigue_life(t, rainflow),
                          spectral.narrowband_life,
                          spectral.dirlik_life};
}

} // namespace

void stage_fatigue_results(channel_outcome& set, const result_request& request, int channel)
{
    const psd_view view = finished_psd_view();
    if (fatigue_option.vrs || fatigue_option.fds > 0.) {
        const oscillator_options o = asked_oscillators(1. / st.rec_dt);
        const std::vector<double> fn = natural_frequencies(o);
        if (fatigue_option.vrs) vrs_results(set, request, view, fn, o.q);
        if (fatigue_option.fds > 0.) fds_results(set, request, view, fn, o.q);
    }
    if (!rainflow_asked()) return;
    const rainflow_state& count = rainflow_results(set, request, channel);
    if (fatigue_option.sn_exponent > 0.) damage_results(set, view, count);
}
