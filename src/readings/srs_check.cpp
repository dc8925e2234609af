// The check of a shock response spectrum against its requirement.
#include "readings/srs_check.h"
#include "readings/profile_curve.h"

#include <cmath>

namespace {

constexpr double inner_share =
    0.9; // share of the natural frequencies that must lie within LOW..HIGH

// How far a deviation goes towards its limit: 1 on the limit, above 1 past it.
double reach(double deviation_db, const decibel_tolerance& band)
{
    if (deviation_db >= 0.) return band.high > 0. ? deviation_db / band.high : HUGE_VAL;
    return band.low < 0. ? deviation_db / band.low : HUGE_VAL;
}

} // namespace

srs_check check_srs(const std::vector<srs_row>& rows, double to_requirement,
                    const std::vector<profile_point>& requirement, const decibel_tolerance& band)
{
    srs_check c{{}, 0, 0, 0., 0., 0., false};
    double worst = -1.;
    for (const srs_row& r : rows) {
        if (r.fn < requirement.front().frequency || r.fn > requirement.back().frequency) continue;
        const double need = profile_value(requirement, r.fn);
        const double measured = r.maximax * to_requirement;
        const double db = 20. * std::log10(measured / need);
        c.rows.push_back({r.fn, need, need * std::pow(10., band.low / 20.),
                          need * std::pow(10., band.high / 20.), measured, db});
        if (db >= band.low && db <= band.high) ++c.within_inner;
        if (db >= 2. * band.low && db <= 2. * band.high) ++c.within_outer;
        if (reach(db, band) > worst || std::isnan(db)) {
            worst = std::isnan(db) ? HUGE_VAL : reach(db, band);
            c.worst_deviation_db = db, c.worst_frequency = r.fn;
        }
    }
    if (c.rows.empty()) return c;
    c.share_within_inner = static_cast<double>(c.within_inner) / static_cast<double>(c.rows.size());
    c.within = c.share_within_inner >= inner_share && c.within_outer == c.rows.size();
    return c;
}
