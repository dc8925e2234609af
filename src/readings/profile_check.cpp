// The lines of a PSD against a profile's limits, the bands outside them and the rms ratio.
#include "readings/profile_check.h"
#include "readings/band_power.h"
#include "readings/profile_curve.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double deviation_floor_db = -300.; // the deviation of a line with no power at all

// Compares every line within the profile's range with the profile there.
void check_lines(const psd_view& view, const std::vector<profile_point>& points, profile_check& c)
{
    const double below = std::pow(10., c.tolerance_low_db / 10.);
    const double above = std::pow(10., c.tolerance_db / 10.);
    const double english = view.english * view.english;
    for (std::uint32_t k = 1; k < view.bins(); ++k) {
        const double f = k * view.df;
        if (f < c.low || f > c.high) continue;
        checked_line line{f, profile_value(points, f), 0., 0., english * view.psd[k], 0., false};
        line.lower = line.profile * below;
        line.upper = line.profile * above;
        line.deviation_db =
            std::max(10. * std::log10(line.measured / line.profile), deviation_floor_db);
        line.within = line.measured >= line.lower && line.measured <= line.upper;
        c.lines_within += line.within;
        if (c.lines.empty() || std::fabs(line.deviation_db) > std::fabs(c.worst_db)) {
            c.worst_frequency = f;
            c.worst_db = line.deviation_db;
        }
        c.lines.push_back(line);
    }
}

// Gathers contiguous lines outside the limits into bands.
void find_outside_bands(profile_check& c)
{
    bool in_band = false;
    for (const checked_line& line : c.lines) {
        if (line.within) {
            in_band = false;
            continue;
        }
        if (!in_band) c.outside.push_back({line.frequency, line.frequency, line.deviation_db});
        in_band = true;
        outside_band& band = c.outside.back();
        band.high = line.frequency;
        if (std::fabs(line.deviation_db) > std::fabs(band.worst_db))
            band.worst_db = line.deviation_db;
    }
}

} // namespace

profile_check check_profile(const psd_view& view, const std::vector<profile_point>& points,
                            double low_db, double high_db)
{
    profile_check c{};
    c.low = points.front().frequency;
    c.high = points.back().frequency;
    c.tolerance_db = high_db;
    c.tolerance_low_db = low_db;
    c.profile_rms = std::sqrt(profile_mean_square(points));
    c.measured_rms = band_rms(view, c.low, c.high);
    c.rms_db = std::max(20. * std::log10(c.measured_rms / c.profile_rms), deviation_floor_db);
    check_lines(view, points, c);
    find_outside_bands(c);
    c.beyond_spectrum = view.bins() * view.df <= c.high;
    c.lines_checked = c.lines.size();
    c.within = c.lines_checked > 0 && c.lines_within == c.lines_checked;
    return c;
}
