// Writing the shock response spectrum's files of a set.
#include "output/srs_files.h"
#include "output/reading_file_table.h"
#include "output/reading_files.h"
#include "output/staged_files.h"
#include "platform/console_format.h"

#include <cstdio>
#include <string>

namespace {

constexpr int acceleration = 1; // the quantity whose records have a shock spectrum

// Writes the rows of the spectrum, its values times factor; false when a write failed.
bool write_srs_rows(std::FILE* f, const srs_result& r, double factor)
{
    bool written = true;
    for (const srs_row& w : r.rows)
        written = zfprint(f, "%10.4e %10.4e %10.4e %10.4e %10.4e %10.4e \n", w.fn,
                          w.maximax * factor, w.positive * factor, w.negative * factor,
                          w.primary * factor, w.residual * factor) &&
                  written;
    return written;
}

// Writes the pseudo-velocity rows, m/sec times factor; false when a write failed.
bool write_pvss_rows(std::FILE* f, const srs_result& r, double factor)
{
    bool written = true;
    for (const srs_row& w : r.rows)
        written = zfprint(f, "%10.4e %10.4e \n", w.fn, w.pseudo_velocity * factor) && written;
    return written;
}

// Writes the rows of the check against the shock profile; false when a write failed.
bool write_srs_check_rows(std::FILE* f, const srs_check& c)
{
    bool written = true;
    for (const srs_check_row& w : c.rows)
        written = zfprint(f, "%10.4e %10.4e %10.4e %10.4e %10.4e %7.2f \n", w.fn, w.requirement,
                          w.lower, w.upper, w.maximax, w.deviation_db) &&
                  written;
    return written;
}

// Stages the reading file called name in the set's folder, listed with its table row.
std::FILE* stage_named(channel_outcome& set, const result_request& request, const char* name,
                       std::string& path)
{
    const reading_file* row = reading_file_named(acceleration, name);
    path = path_in(set.folder, name);
    return stage_listed(set, request, {path, row->content, row->unit});
}

} // namespace

void stage_srs_files(channel_outcome& set, const result_request& request, const srs_outcome& srs)
{
    constexpr double inches_per_metre = 1. / 0.0254;
    std::string path;
    std::FILE* f = stage_named(set, request, "A_G.srs", path);
    close_listed(f, write_srs_rows(f, srs.result, srs.to_g), path);
    f = stage_named(set, request, "A_ms2.srs", path);
    close_listed(f, write_srs_rows(f, srs.result, srs.to_ms2), path);
    f = stage_named(set, request, "V_ips.pvss", path);
    close_listed(f, write_pvss_rows(f, srs.result, inches_per_metre), path);
    f = stage_named(set, request, "V_ms.pvss", path);
    close_listed(f, write_pvss_rows(f, srs.result, 1.), path);
    if (!srs.check) return;
    f = stage_named(set, request, "A_G.srs.chk", path);
    close_listed(f, write_srs_check_rows(f, *srs.check), path);
}
