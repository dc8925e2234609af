// The result step of a scripted run: the one record's set, or one set per
// channel, its readings, check and transfer results computed and handed to the
// writers, staged and then put in place with the summary.
#include "run/result_step.h"
#include "core/analysis_state.h"
#include "input/amplitude_scale.h"
#include "input/record_format.h"
#include "output/check_file.h"
#include "output/history_files.h"
#include "output/json_summary.h"
#include "output/output_files.h"
#include "output/result_folders.h"
#include "output/spectrum_writers.h"
#include "output/staged_files.h"
#include "readings/profile_check.h"
#include "readings/resonance.h"
#include "run/fatigue_step.h"
#include "run/finished_views.h"
#include "run/history_step.h"
#include "run/reading_step.h"
#include "run/srs_step.h"
#include "spectrum/channel_store.h"
#include "spectrum/cross_spectrum.h"
#include "spectrum/finished_psd.h"

#include <cmath>

namespace {

// Puts the channel's own mean and rms of all pairs into the record, for its summary.
void keep_channel_figures(int channel)
{
    double sum = 0.;
    double sum_sq = 0.;
    record_channel_sums(channel, sum, sum_sq);
    st.rec_mean = sum / st.record_pairs;
    st.rec_rms = std::sqrt(sum_sq / st.record_pairs);
    scale_record_figures();
}

// Checks the view against the profile, when one was asked for, and stages the
// set's check file.
void check_against_profile(channel_outcome& set, const profile_request& profile,
                           const std::string& summary_path, const psd_view& view)
{
    if (profile.file.empty()) return;
    set.check = check_profile(view, profile.points, profile.tolerance_low_db, profile.tolerance_db);
    stage_check_file(set, summary_path);
}

// Writes the PSD and magnitude files of st.psd and the files of its readings
// into folder, leaving them under their temporary names; ends the run when the
// summary would be one of them.
channel_outcome stage_result_files(const result_request& request, const std::string& folder)
{
    const std::string& summary_path = request.summary;
    channel_outcome out{};
    out.folder = folder;
    finish_psd();
    refuse_overflowed_psd();
    name_output_files();
    for (int slot = 2; slot <= last_slot(); ++slot) {
        out.files.push_back(path_in(folder, st.fname[slot]));
        st.fp[slot] = stage_result(out.files.back(), summary_path);
    }
    const psd_view view = finished_psd_view();
    write_spectra(view);
    for (int slot = 2; slot <= last_slot(); ++slot)
        if (st.write_failed[slot])
            give_up(
                not_written(out.files[static_cast<std::size_t>(slot - 2)], st.write_error[slot]));
    out.overall_rms = st.overall_rms;
    stage_readings(out, request, view);
    check_against_profile(out, request.profile, summary_path, view);
    return out;
}

// For a response channel (not the reference, in a run with one): its H1 and
// coherence written into folder, and its resonance. Nothing for the reference
// or a run without one.
std::optional<transfer_outcome> transfer_of(int channel, const std::string& folder,
                                            const std::vector<std::string>& names,
                                            const std::string& summary_path)
{
    const int ref = reference_channel();
    if (ref < 0 || channel == ref) return std::nullopt;
    refuse_overflowed_cross(channel);
    const cross_view v = channel_cross_view(channel);
    transfer_outcome out{st.reference, names[static_cast<std::size_t>(ref)], {}, find_resonance(v)};
    out.files = stage_transfer_files(transfer_curves_of(v), folder, summary_path);
    return out;
}

} // namespace

run_outcome write_result_files(const result_request& request)
{
    run_outcome out;
    out.summary = summary_full_path(request.summary);
    out.sets.push_back(stage_result_files(request, request.folder));
    stage_fatigue_results(out.sets.front(), request, -1);
    out.sets.front().history = stage_history(out.sets.front(), request, -1);
    stage_srs(out.sets.front(), -1, request);
    if (!out.summary.empty()) {
        nlohmann::ordered_json summary = summary_object(request.record, out.sets.front().files);
        add_readings(summary, out.sets.front());
        add_history_summary(summary, out.sets.front());
        add_profile_summary(summary, out.sets.front(), request.profile.file);
        write_summary(out.summary, json_text(summary));
    }
    return out;
}

run_outcome write_channel_files(const result_request& request,
                                const std::vector<std::string>& names)
{
    run_outcome out;
    out.summary = summary_full_path(request.summary);
    nlohmann::ordered_json summaries = nlohmann::ordered_json::array();
    for (int c = 0; c < st.channels; ++c) {
        const std::string sub = path_in(request.folder, names[static_cast<std::size_t>(c)]);
        make_result_folder(sub);
        select_channel_results(c);
        keep_channel_figures(c);
        channel_outcome set = stage_result_files(request, sub);
        set.history = stage_history(set, request, c);
        stage_srs(set, c, request);
        set.column = st.column + c;
        stage_fatigue_results(set, request, c);
        set.transfer = transfer_of(c, sub, names, request.summary);
        nlohmann::ordered_json one = summary_object(request.record, set.files);
        add_readings(one, set);
        add_history_summary(one, set);
        add_profile_summary(one, set, request.profile.file);
        one["channel"] = {{"column", set.column}, {"folder", sub}};
        if (set.transfer) add_transfer_summary(one, *set.transfer);
        summaries.push_back(one);
        out.sets.push_back(set);
    }
    if (!out.summary.empty()) write_summary(out.summary, json_text(summaries));
    return out;
}
