// Writing the result files of a scripted run: the one record's set, or one set
// per channel, staged and then put in place with the summary.
#include "output/result_files.h"
#include "input/amplitude_scale.h"
#include "input/record_format.h"
#include "output/json_summary.h"
#include "output/output.h"
#include "output/staged_files.h"
#include "run/analysis_state.h"
#include "spectrum/channel_store.h"
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

// Writes the PSD and magnitude files of st.psd into folder, leaving them under
// their temporary names; ends the run when the summary would be one of them.
channel_outcome stage_result_files(const std::string& folder, const std::string& summary_path)
{
    channel_outcome out{0, folder, {}, 0.};
    finish_psd();
    name_output_files();
    const std::string summary = summary_full_path(summary_path);
    for (int slot = 2; slot <= last_slot(); ++slot) {
        out.files.push_back(path_in(folder, st.fname[slot]));
        if (out.files.back() == summary)
            give_up("--summary " + summary_path + ": names a result file");
        st.fp[slot] = stage(out.files.back());
    }
    write_spectra();
    for (int slot = 2; slot <= last_slot(); ++slot)
        if (st.write_failed[slot])
            give_up(out.files[static_cast<std::size_t>(slot - 2)] + ": could not be written" +
                    nothing_written);
    out.overall_rms = st.overall_rms;
    return out;
}

} // namespace

run_outcome write_result_files(const result_request& request)
{
    run_outcome out;
    out.summary = summary_full_path(request.summary);
    out.sets.push_back(stage_result_files(request.folder, request.summary));
    if (!out.summary.empty())
        write_summary(out.summary,
                      json_text(summary_object(request.record, out.sets.front().files)));
    put_in_place();
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
        channel_outcome set = stage_result_files(sub, request.summary);
        set.column = st.column + c;
        nlohmann::ordered_json one = summary_object(request.record, set.files);
        one["channel"] = {{"column", set.column}, {"folder", sub}};
        summaries.push_back(one);
        out.sets.push_back(set);
    }
    if (!out.summary.empty()) write_summary(out.summary, json_text(summaries));
    put_in_place();
    return out;
}
