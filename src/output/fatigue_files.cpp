// Writing the VRS, FDS and rainflow files of a set.
#include "output/fatigue_files.h"
#include "output/reading_file_table.h"
#include "output/reading_files.h"
#include "output/staged_files.h"
#include "platform/console_format.h"

#include <cmath>
#include <cstring>

namespace {

// The reading file of the quantity whose name ends in suffix ("A_G.vrs" for ".vrs").
const reading_file& file_ending(int quantity, const char* suffix)
{
    std::size_t count = 0;
    const reading_file* files = reading_files(count);
    const std::size_t n = std::strlen(suffix);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t length = std::strlen(files[i].name);
        if (files[i].quantity == quantity && length > n &&
            std::strcmp(files[i].name + length - n, suffix) == 0)
            return files[i];
    }
    give_up(std::string("no result file ends in ") + suffix + nothing_written);
}

// Stages the quantity's file ending in suffix, listed in the set; its path goes into path.
std::FILE* stage_named(channel_outcome& set, const result_request& request, int quantity,
                       const char* suffix, std::string& path)
{
    const reading_file& file = file_ending(quantity, suffix);
    path = path_in(set.folder, file.name);
    return stage_listed(set, request, {path, file.content, file.unit});
}

// Copies the bytes of from, from its start, to the end of to; false when a read or write failed.
bool copy_rows(std::FILE* from, std::FILE* to)
{
    if (std::fflush(from) != 0 || std::fseek(from, 0, SEEK_SET) != 0) return false;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, from)) > 0;)
        if (std::fwrite(buffer, 1, n, to) != n) return false;
    return std::ferror(from) == 0;
}

} // namespace

const std::vector<reading_file>& fatigue_reading_files()
{
    static const std::vector<reading_file> files = {
        {1, "A_G.vrs", "response spectra: fn (Hz), VRS, Miles, ERS, the profile's VRS, ERS", "G",
         "VRS (G rms), ERS (G)"},
        {1, "A_G.fds", "fatigue damage spectrum: fn (Hz), record, profile, profile/record", "m^B",
         "damage potential (m^B)"},
        {1, "A_G.rainflow", "rainflow cycles: range, mean, count", "G", "cycles"},
        {2, "V_ips.rainflow", "rainflow cycles: range, mean, count", "in/sec", "cycles"},
        {3, "D_in.rainflow", "rainflow cycles: range, mean, count", "inch", "cycles"},
        {4, "F_lbf.rainflow", "rainflow cycles: range, mean, count", "lbf", "cycles"},
        {5, "P_psi.rainflow", "rainflow cycles: range, mean, count", "psi", "cycles"},
        {6, "V_V.rainflow", "rainflow cycles: range, mean, count", "V", "cycles"},
    };
    return files;
}

bool write_rainflow_rows(std::FILE* f, const std::vector<rainflow_cycle>& cycles, double factor)
{
    bool ok = true;
    for (const rainflow_cycle& c : cycles)
        ok =
            zfprint(f, "%10.4e %10.4e %10.4e \n", c.range * factor, c.mean * factor, c.count) && ok;
    return ok;
}

bool vrs_row_written(const response_point& record, const response_point* profile)
{
    const bool own = std::isfinite(record.miles) && std::isfinite(record.ers);
    return own && (profile == nullptr || std::isfinite(profile->ers));
}

void stage_vrs_file(channel_outcome& set, const result_request& request,
                    const response_spectra& record, const response_spectra* profile)
{
    std::string path;
    std::FILE* f = stage_named(set, request, 1, ".vrs", path);
    bool ok = true;
    for (std::size_t i = 0; i < record.points.size(); ++i) {
        const response_point& r = record.points[i];
        const response_point* p = profile != nullptr ? &profile->points[i] : nullptr;
        if (!vrs_row_written(r, p)) continue;
        ok = zfprint(f, "%10.4e %10.4e %10.4e %10.4e ", r.fn, r.vrs, r.miles, r.ers) && ok;
        if (p != nullptr) ok = zfprint(f, "%10.4e %10.4e ", p->vrs, p->ers) && ok;
        ok = zfprint(f, "\n") && ok;
    }
    close_listed(f, ok, path);
}

void stage_fds_file(channel_outcome& set, const result_request& request, const fds_result& fds)
{
    std::string path;
    std::FILE* f = stage_named(set, request, 1, ".fds", path);
    bool ok = true;
    for (const fds_point& p : fds.points) {
        if (!(p.record > 0.)) continue;
        ok = zfprint(f, "%10.4e %10.4e ", p.fn, p.record) && ok;
        if (fds.has_profile) ok = zfprint(f, "%10.4e %10.4e ", p.profile, p.ratio) && ok;
        ok = zfprint(f, "\n") && ok;
    }
    close_listed(f, ok, path);
}

void stage_rainflow_file(channel_outcome& set, const result_request& request, int quantity,
                         std::FILE* rows)
{
    std::string path;
    std::FILE* f = stage_named(set, request, quantity, ".rainflow", path);
    close_listed(f, rows != nullptr && copy_rows(rows, f), path);
}
