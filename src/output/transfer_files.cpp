// Writing H1.frf and H1.coh of a response channel, staged with its other files.
#include "output/transfer_files.h"
#include "output/staged_files.h"
#include "platform/console_format.h"

#include <cstdio>

const transfer_file transfer_files[2] = {
    {"H1.frf", "H1 magnitude and phase", "1, degrees"},
    {"H1.coh", "coherence", "1"},
};

namespace {

// Writes the rows of H1.frf: frequency, |H1|, phase in degrees; false when a write fails.
bool write_frf_rows(std::FILE* f, const transfer_curves& c)
{
    for (std::uint32_t k = 0; k < c.magnitude.size(); ++k)
        if (!zfprint(f, "%10.4e %10.4e %10.4e \n", k * c.df, c.magnitude[k], c.phase[k]))
            return false;
    return true;
}

// Writes the rows of H1.coh: frequency, coherence; false when a write fails.
bool write_coh_rows(std::FILE* f, const transfer_curves& c)
{
    for (std::uint32_t k = 0; k < c.coherence.size(); ++k)
        if (!zfprint(f, "%10.4e %10.4e \n", k * c.df, c.coherence[k])) return false;
    return true;
}

// Stages one file of the pair at path and writes its rows, or ends the run.
void write_transfer_file(const std::string& path, const transfer_curves& c,
                         bool (*rows)(std::FILE*, const transfer_curves&))
{
    std::FILE* f = stage(path);
    const bool written = rows(f, c) && std::ferror(f) == 0;
    if (std::fclose(f) != 0 || !written) give_up(path + ": could not be written" + nothing_written);
}

} // namespace

std::vector<std::string> stage_transfer_files(const transfer_curves& curves,
                                              const std::string& folder,
                                              const std::string& summary_path)
{
    std::vector<std::string> files;
    const std::string summary = summary_full_path(summary_path);
    bool (*const rows[2])(std::FILE*, const transfer_curves&) = {write_frf_rows, write_coh_rows};
    for (int i = 0; i < 2; ++i) {
        files.push_back(path_in(folder, transfer_files[i].name));
        if (files.back() == summary) give_up("--summary " + summary_path + ": names a result file");
        write_transfer_file(files.back(), curves, rows[i]);
    }
    return files;
}
