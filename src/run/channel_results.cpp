#include "run/channel_results.h"
#include "input/input.h"
#include "output/output.h"
#include "platform/console_format.h"
#include "run/analysis_state.h"
#include "run/command_line.h"
#include "run/quantities.h"
#include "run/result_files.h"
#include "run/run.h"
#include "run/run_summary.h"

#include <cmath>

namespace {

double channel_rms[max_channels]; // each channel's overall rms, for the report

// Puts the channel's own mean and rms of all pairs into the record, for its summary.
void keep_channel_figures(int channel)
{
    double sum = 0.;
    double sum_sq = 0.;
    column_channel_sums(channel, sum, sum_sq);
    st.rec_mean = sum / st.record_pairs;
    st.rec_rms = std::sqrt(sum_sq / st.record_pairs);
}

} // namespace

std::vector<std::string> write_channel_files(const std::string& folder,
                                             const std::vector<std::string>& names,
                                             const std::string& summary_path)
{
    const std::string summary = summary_full_path(summary_path);
    nlohmann::ordered_json summaries = nlohmann::ordered_json::array();
    std::vector<std::string> paths;
    for (int c = 0; c < st.channels; ++c) {
        const std::string sub = path_in(folder, names[static_cast<std::size_t>(c)]);
        make_result_folder(sub);
        select_channel_results(c);
        keep_channel_figures(c);
        const std::vector<std::string> files = stage_result_files(sub, summary_path);
        channel_rms[c] = st.overall_rms;
        nlohmann::ordered_json one = summary_object(files);
        one["channel"] = {{"column", st.column + c}, {"folder", sub}};
        summaries.push_back(one);
        paths.insert(paths.end(), files.begin(), files.end());
    }
    if (!summary.empty()) {
        write_summary(summary, json_text(summaries));
        paths.push_back(summary);
    }
    put_in_place();
    return paths;
}

void report_channel_results(const std::vector<std::string>& files)
{
    if (opts.level == report_level::quiet) return;
    report_segments();
    const std::size_t per_channel = static_cast<std::size_t>(last_slot() - 1);
    for (int c = 0; c < st.channels; ++c) {
        zfprint(stdout, "column %d: overall rms = %.3e %s, files:\n", st.column + c, channel_rms[c],
                unit_label(st.input_type, 1));
        for (std::size_t i = 0; i < per_channel; ++i)
            zfprint(stdout, "  %s\n", files[static_cast<std::size_t>(c) * per_channel + i].c_str());
    }
    if (files.size() > per_channel * static_cast<std::size_t>(st.channels))
        zfprint(stdout, "summary:\n  %s\n", files.back().c_str());
}
