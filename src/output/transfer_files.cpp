// Writing H1.frf and H1.coh of a response channel, staged with its other files.
#include "output/transfer_files.h"
#include "output/staged_files.h"
#include "platform/console_format.h"
#include "core/analysis_state.h"
#include "spectrum/cross_spectrum.h"

#include <cstdio>

const transfer_file transfer_files[2] = {
    {"H1.frf", "H1 magnitude and phase", "1, degrees"},
    {"H1.coh", "coherence", "1"},
};

namespace {

// Writes the rows of H1.frf: frequency, |H1|, phase in degrees; false when a write fails.
bool write_frf_rows(std::FILE* f, const cross_view& v)
{
    for (std::uint32_t k = 0; k < v.bins; ++k)
        if (!zfprint(f, "%10.4e %10.4e %10.4e \n", k * v.df, h1_magnitude(v, k), h1_phase(v, k)))
            return false;
    return true;
}

// Writes the rows of H1.coh: frequency, coherence; false when a write fails.
bool write_coh_rows(std::FILE* f, const cross_view& v)
{
    for (std::uint32_t k = 0; k < v.bins; ++k)
        if (!zfprint(f, "%10.4e %10.4e \n", k * v.df, coherence(v, k))) return false;
    return true;
}

// Stages one file of the pair at path and writes its rows, or ends the run.
void write_transfer_file(const std::string& path, const cross_view& v,
                         bool (*rows)(std::FILE*, const cross_view&))
{
    std::FILE* f = stage(path);
    const bool written = rows(f, v) && std::ferror(f) == 0;
    if (std::fclose(f) != 0 || !written) give_up(path + ": could not be written" + nothing_written);
}

} // namespace

std::optional<transfer_outcome> stage_transfer_files(int channel, const std::string& folder,
                                                     const std::vector<std::string>& names,
                                                     const std::string& summary_path)
{
    const int ref = reference_channel();
    if (ref < 0 || channel == ref) return std::nullopt;
    refuse_overflowed_cross(channel);
    const cross_view v = channel_cross_view(channel);
    transfer_outcome out{st.reference, names[static_cast<std::size_t>(ref)], {}, find_resonance(v)};
    const std::string summary = summary_full_path(summary_path);
    bool (*const rows[2])(std::FILE*, const cross_view&) = {write_frf_rows, write_coh_rows};
    for (int i = 0; i < 2; ++i) {
        out.files.push_back(path_in(folder, transfer_files[i].name));
        if (out.files.back() == summary)
            give_up("--summary " + summary_path + ": names a result file");
        write_transfer_file(out.files.back(), v, rows[i]);
    }
    return out;
}
