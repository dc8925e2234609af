#include "output/output.h"
#include "platform/console_format.h"
#include "run/analysis_state.h"

#include <cmath>

namespace {

constexpr int volts = 6;

// Reports a failed write or close of a slot's file, once per file.
void report_write_failure(int slot)
{
    if (st.write_failed[slot]) return;
    st.write_failed[slot] = true;
    zprint(" Failed to write file: %s \n", st.fname[slot]);
}

// Writes one row "frequency value" to a slot's file, if it is open and healthy.
void write_row(int slot, double frequency, double value)
{
    std::FILE* f = st.fp[slot];
    if (f == nullptr || st.write_failed[slot]) return;
    if (!zfprint(f, "%10.4e %10.4e \n", frequency, value)) report_write_failure(slot);
}

// Closes a slot's file, reporting data that could not be written out.
void close_slot(int slot)
{
    std::FILE* f = st.fp[slot];
    if (f == nullptr) return;
    const bool failed = std::ferror(f) != 0;
    if (std::fclose(f) != 0 || failed) report_write_failure(slot);
    st.fp[slot] = nullptr;
}

// The start-up constant that turns the SI value into the quantity's English unit.
double english_factor()
{
    switch (st.input_type) {
    case 1: return st.g_per_ms2;
    case 2:
    case 3: return st.in_per_m;
    case 4: return st.lbf_per_n;
    case 5: return st.psi_per_pa;
    default: return 1.;
    }
}

// Writes a PSD row: SI file then English file, or the one volts file.
void write_psd_row(double frequency, double value)
{
    if (st.input_type == volts) {
        write_row(2, frequency, value);
        return;
    }
    const double factor = english_factor();
    write_row(3, frequency, value);
    write_row(2, frequency, (factor * factor) * value);
}

// Turns the summed power of bins 1..m/2-1 into the one-sided PSD and sums it.
void normalise_psd()
{
    st.overall_ms = 0.;
    for (std::uint32_t k = 1; k < st.m / 2; ++k) {
        st.psd[k] = st.psd[k] * (1. / st.df);
        st.psd[k] = st.psd[k] * (1. / st.nave);
        st.psd[k] = st.psd[k] * 4.;
        st.psd[k] = st.psd[k] * 0.5;
        st.overall_ms = st.overall_ms + st.psd[k];
    }
}

// Writes the PSD files, bin 0 (not doubled) first, and closes them.
void write_psd_files()
{
    st.psd[0] = st.psd[0] * (1. / st.df);
    st.psd[0] = st.psd[0] * (1. / st.nave);
    write_psd_row(0., st.psd[0]);
    normalise_psd();
    for (std::uint32_t k = 1; k < st.m / 2; ++k) write_psd_row(k * st.df, st.psd[k]);
    close_slot(2);
    if (st.input_type != volts) close_slot(3);
}

// Writes the rms, zero-peak and peak-peak rows of one bin for displacement.
void write_displacement_row(double f, double r, double p)
{
    const double pp = 2. * p;
    write_row(4, f, r * st.in_per_m);
    write_row(5, f, r * st.in_per_m * 1000000.);
    write_row(6, f, r * 1.);
    write_row(7, f, r * 1. * 1000000.);
    write_row(8, f, r * p * st.in_per_m);
    write_row(9, f, r * p * st.in_per_m * 1000000.);
    write_row(10, f, r * p * 1.);
    write_row(11, f, r * p * 1. * 1000000.);
    write_row(12, f, r * pp * st.in_per_m);
    write_row(13, f, r * pp * st.in_per_m * 1000000.);
    write_row(14, f, r * pp * 1.);
    write_row(15, f, r * pp * 1. * 1000000.);
}

// Writes the magnitude files (none for volts) and closes them.
void write_magnitude_files()
{
    if (st.input_type == volts) return;
    const double factor = english_factor();
    for (std::uint32_t k = 0; k < st.m / 2; ++k) {
        const double f = k * st.df;
        const double r = std::sqrt(std::fabs(st.df * st.psd[k]));
        const double p = k == 0 ? 1. : std::sqrt(2.);
        if (st.input_type == 3) {
            write_displacement_row(f, r, p);
            continue;
        }
        write_row(4, f, r * factor);
        write_row(5, f, r);
        write_row(6, f, r * p * factor);
        write_row(7, f, r * p);
    }
    for (int slot = 4; slot <= last_slot(); ++slot) close_slot(slot);
}

// Prints m, df, nave and the overall rms in the English unit.
void print_summary()
{
    zprint("\n\n\n m= %ld", static_cast<long>(st.m));
    zprint("\n df = %10.3e ", st.df);
    zprint("\n nave = %ld ", static_cast<long>(st.nave));
    if (st.input_type != volts) {
        const double factor = english_factor();
        st.overall_ms = st.overall_ms * (factor * factor);
    }
    st.overall_rms = std::sqrt(st.overall_ms * st.df);
    zprint("\n overall rms = %10.3e ", st.overall_rms);
}

} // namespace

void write_spectra()
{
    write_psd_files();
    write_magnitude_files();
    print_summary();
}
