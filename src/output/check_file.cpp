// Writing the profile check file beside a set's PSD files.
#include "output/check_file.h"
#include "core/analysis_state.h"
#include "output/file_sets.h"
#include "output/staged_files.h"
#include "platform/console_format.h"

#include <cstdio>

namespace {

// The check file's name: the English PSD file's name with ".chk" for ".psd".
std::string check_file_name()
{
    const std::string name = file_set_of(st.input_type).files[0].name;
    return name.substr(0, name.rfind('.')) + ".chk";
}

// Writes one row a checked line; false when a write failed.
bool write_check_rows(std::FILE* f, const profile_check& c)
{
    bool written = true;
    for (const checked_line& l : c.lines)
        written = zfprint(f, "%10.4e %10.4e %10.4e %10.4e %10.4e %7.2f \n", l.frequency, l.profile,
                          l.lower, l.upper, l.measured, l.deviation_db) &&
                  written;
    return written;
}

} // namespace

void stage_check_file(channel_outcome& set, const std::string& summary_path)
{
    set.check_file = path_in(set.folder, check_file_name());
    if (set.check_file == summary_full_path(summary_path))
        give_up("--summary " + summary_path + ": names a result file");
    std::FILE* f = stage(set.check_file);
    const bool written = write_check_rows(f, set.check);
    if (std::fclose(f) != 0 || !written)
        give_up(set.check_file + ": could not be written" + nothing_written);
    // The rows are in the file; the report and the summary need only the figures.
    set.check.lines = {};
}
