// Writing the octave files, the derived quantities' files and the table of a set.
#include "output/reading_files.h"
#include "core/analysis_state.h"
#include "core/quantities.h"
#include "output/file_sets.h"
#include "output/octave_files.h"
#include "output/output_files.h"
#include "output/spectrum_table.h"
#include "output/spectrum_writers.h"
#include "output/staged_files.h"

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

std::vector<std::string> stage_octave_files(channel_outcome& set, const result_request& request,
                                            const psd_view& view, int per_octave,
                                            const std::vector<octave_band>& bands)
{
    std::vector<std::string> paths;
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

void stage_table(channel_outcome& set, const result_request& request,
                 const std::vector<psd_view>& views)
{
    const std::string path = path_in(set.folder, table_name);
    std::FILE* f = stage_listed(set, request,
                                {path, "table: the frequency and every file's value per line",
                                 "per column, named in the header"});
    close_listed(f, write_spectrum_table(f, views), path);
}
