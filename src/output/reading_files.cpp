// Writing the octave files, the derived quantities' files and the table of a set.
#include "output/reading_files.h"
#include "output/file_sets.h"
#include "output/octave_files.h"
#include "output/output.h"
#include "output/spectrum_table.h"
#include "output/staged_files.h"
#include "readings/band_power.h"
#include "readings/derived_psd.h"
#include "core/analysis_state.h"
#include "core/quantities.h"
#include "spectrum/finished_psd.h"

namespace {

// Stages a file of the readings, listed in the set with what it holds.
std::FILE* stage_listed(channel_outcome& set, const result_request& request,
                        const listed_file& file)
{
    set.more_files.push_back(file);
    return stage_result(file.path, request.summary);
}

// Closes a file of the readings; a failed write or close ends the run.
void close_listed(std::FILE* f, bool written, const std::string& path)
{
    const bool failed = std::ferror(f) != 0;
    if (std::fclose(f) != 0 || failed || !written)
        give_up(path + ": could not be written" + nothing_written);
}

// Writes the octave file beside each PSD file of the view's quantity; returns their paths.
std::vector<std::string> stage_octave_files(channel_outcome& set, const result_request& request,
                                            const psd_view& view)
{
    std::vector<std::string> paths;
    const int per_octave = request.readings.octave;
    if (per_octave == 0) return paths;
    const std::vector<octave_band> bands = octave_bands(view, per_octave);
    const file_set& files = file_set_of(view.quantity);
    for (int i = 0; i < files.count && files.files[i].content == file_content::psd; ++i) {
        const result_file& psd = files.files[i];
        paths.push_back(path_in(set.folder, octave_file_name(psd.name, per_octave)));
        std::FILE* f = stage_listed(
            set, request,
            {paths.back(), octave_content(per_octave), octave_units(view.quantity, psd)});
        const double factor = unit_of(view.quantity, psd.unit)->english ? view.english : 1.;
        close_listed(f, write_octave_rows(f, bands, factor), paths.back());
    }
    return paths;
}

// Writes the complete file set of a derived quantity's view; returns their paths.
std::vector<std::string> stage_derived_set(channel_outcome& set, const result_request& request,
                                           const psd_view& view)
{
    const file_set& files = file_set_of(view.quantity);
    name_set_files(files);
    std::vector<std::string> paths;
    for (int i = 0; i < files.count; ++i) {
        const result_file& file = files.files[i];
        paths.push_back(path_in(set.folder, file.name));
        st.fp[2 + i] = stage_listed(
            set, request,
            {paths.back(), content_name(file.content), file_unit(view.quantity, file)});
    }
    write_spectrum_files(view);
    for (int i = 0; i < files.count; ++i)
        if (st.write_failed[2 + i])
            give_up(paths[static_cast<std::size_t>(i)] + ": could not be written" +
                    nothing_written);
    return paths;
}

// The view of a quantity derived from the record's, over its PSD.
psd_view derived_view(const psd_view& record, const std::vector<double>& psd, int quantity)
{
    psd_view v = record;
    v.psd = psd.data();
    v.quantity = quantity;
    v.english = english_factor(quantity);
    return v;
}

// Writes the table of every file's values of the views.
void stage_table(channel_outcome& set, const result_request& request,
                 const std::vector<psd_view>& views)
{
    const std::string path = path_in(set.folder, table_name);
    std::FILE* f = stage_listed(set, request,
                                {path, "table: the frequency and every file's value per line",
                                 "per column, named in the header"});
    close_listed(f, write_spectrum_table(f, views), path);
}

} // namespace

void stage_readings(channel_outcome& set, const result_request& request)
{
    const reading_request& asked = request.readings;
    const psd_view view = finished_psd_view();
    set.readings = read_spectrum(view, asked);
    stage_octave_files(set, request, view);
    std::vector<std::vector<double>> derived; // the derived PSDs, alive for the table
    derived.reserve(asked.also.size());
    std::vector<psd_view> views = {view};
    reading_request bands_only = asked;
    bands_only.tones = 0;
    const std::vector<tone> every_tone =
        asked.also.empty() ? std::vector<tone>() : find_tones(view, static_cast<int>(view.bins()));
    for (int quantity : asked.also) {
        const int n = integrations(view.quantity, quantity);
        derived.push_back(derived_psd(view, n));
        const psd_view d = derived_view(view, derived.back(), quantity);
        derived_outcome out{quantity, overall_rms(d), read_spectrum(d, bands_only),
                            stage_derived_set(set, request, d)};
        out.readings.tones = derived_tones(every_tone, n, view.english, d.english, asked.tones);
        for (const std::string& path : stage_octave_files(set, request, d))
            out.files.push_back(path);
        set.derived.push_back(out);
        views.push_back(d);
    }
    if (asked.table) stage_table(set, request, views);
}
