#include "input/input.h"
#include "platform/console_format.h"
#include "run/analysis_state.h"
#include "run/run.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr std::uint32_t pair_limit = 99999999; // the count stops one below this

// What the counting pass learns about the record.
struct record_span {
    double start;       // time of the first pair
    double end;         // time of the last pair counted
    std::uint32_t ns;   // pairs counted
    bool first_ok;      // the first pair had a time
};

// Reads the whole record once, counting pairs and keeping the first and last time.
record_span count_pairs()
{
    record_span r{0., 0., 0, false};
    double amplitude = 0.;
    r.first_ok = scan_survey_pair(&r.start, &amplitude) >= 1;
    std::uint32_t counter = 2;
    while (counter < pair_limit) {
        double t = 0.;
        if (scan_survey_pair(&t, &amplitude) < 1) break;
        r.end = t;
        ++counter;
    }
    r.ns = counter - 1;
    return r;
}

// Ends the run when the record cannot give a time step.
void check_span(const record_span& r)
{
    if (!r.first_ok || r.ns < 2)
        end_run("\n\n Error: the input file must hold at least two pairs of numbers,"
                " time(sec) and amplitude, with no header line. \n");
    const double dt = (r.end - r.start) / r.ns;
    if (!(std::isfinite(r.start) && std::isfinite(r.end) && dt > 0. && std::isfinite(dt) &&
          std::isfinite(1. / dt))) {
        zprint("\n\n Error: the time column must increase; the record starts at %g sec"
               " and ends at %g sec. \n", r.start, r.end);
        end_run("");
    }
}

// Prints one row of the segment-length table.
void print_row(long choice, double df, std::uint32_t p, std::uint32_t segments, long dof,
               double duration, double std_error)
{
    zprint("\n %ld\t%10.3f\t%ld\t   %ld\t   %ld\t%10.4f  %10.4f", choice, df, static_cast<long>(p),
           static_cast<long>(segments), dof, duration, std_error);
}

// Prints the table of segment-length choices, from the largest power of two down to 8.
void print_table(std::uint32_t ns, double dur, double dt)
{
    const int e = static_cast<int>(std::log(static_cast<double>(ns)) / std::log(2.));
    std::uint32_t p = 1u << e;
    std::uint32_t k = 1;
    while (p > max_m) {
        p /= 2;
        k *= 2;
    }
    long choice = 1;
    double df = 1. / (p * dt);
    double duration = p * dt;
    const long dof = static_cast<long>((2. * df) * duration);
    zprint("\n");
    zprint("\n Choice\t    DF\t      Samples\tSegments  Dof\t Duration\tStd");
    zprint("\n       \t    (Hz)      per seg  \t\t\t\t        Error");
    print_row(choice, df, p, k, dof, duration, 1. / std::sqrt(df * dur));
    for (;;) {
        df = 2. * df;
        const double std_error = 1. / std::sqrt(df * dur);
        p /= 2;
        const std::uint32_t segments = ns / p;
        duration = static_cast<double>(segments * p) * dt;
        if (p <= 4) break;
        ++choice;
        print_row(choice, df, p, segments, 2L * segments, duration, std_error);
    }
    zprint("\n");
}

} // namespace

void survey_record()
{
    const record_span r = count_pairs();
    check_span(r);
    const double dur = r.end - r.start;
    const double dt = dur / r.ns;
    const double sr = 1. / dt;
    zprint("\n time %lf to %lf sec", r.start, r.end);
    zprint("\n dur = %11.4f sec\tns = %ld samples", dur, static_cast<long>(r.ns));
    zprint("\n dt = %11.6f sec\tsr = %11.3f samples/sec ", dt, sr);
    print_table(r.ns, dur, dt);
}
