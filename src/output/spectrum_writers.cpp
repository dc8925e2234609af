// The rows of the PSD and magnitude files of a finished PSD, and the run summary lines.
#include "output/spectrum_writers.h"
#include "core/analysis_state.h"
#include "core/quantities.h"
#include "output/file_sets.h"
#include "platform/console_format.h"

#include <cerrno>
#include <cmath>

namespace {

// Reports a failed write or close of a slot's file, once per file.
void report_write_failure(int slot)
{
    if (st.write_failed[slot]) return;
    st.write_error[slot] = errno;
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

// Number of PSD files at the head of the set (two, or one for volts).
int psd_count(const file_set& set)
{
    int n = 0;
    while (n < set.count && set.files[n].content == file_content::psd) ++n;
    return n;
}

// A PSD file's value of an SI PSD value: the English file's takes the factor squared.
double psd_value(const psd_view& view, const result_file& file, double value)
{
    if (!unit_of(view.quantity, file.unit)->english) return value;
    const double factor = view.english;
    return (factor * factor) * value;
}

// Writes the PSD rows of every bin, the SI file's row before the English
// file's, as they have always been written, and closes the PSD files.
void write_psd_files(const psd_view& view, const file_set& set)
{
    const int n = psd_count(set);
    for (std::uint32_t k = 0; k < view.bins(); ++k) {
        const double f = k == 0 ? 0. : k * view.df;
        for (int i = n - 1; i >= 0; --i)
            write_row(2 + i, f, psd_value(view, set.files[i], view.psd[k]));
    }
    for (int i = 0; i < n; ++i) close_slot(2 + i);
}

// A magnitude file's value of a bin of rms r (SI) and peak factor p: times the
// peak factor where it is a peak, then the unit's factors, left to right.
double magnitude_value(const psd_view& view, const result_file& file, double r, double p)
{
    double v = r;
    if (file.content == file_content::peak || file.content == file_content::zero_peak)
        v = v * p;
    else if (file.content == file_content::peak_peak)
        v = v * (2. * p);
    const unit_row* unit = unit_of(view.quantity, file.unit);
    if (unit->english) v = v * view.english;
    if (unit->micro) v = v * 1000000.;
    return v;
}

// The rms of bin k in SI units, sqrt(|df PSD|).
double bin_rms(const psd_view& view, std::uint32_t k)
{
    return std::sqrt(std::fabs(view.df * view.psd[k]));
}

// The peak factor of bin k: 1 at 0 Hz, sqrt(2) above.
double peak_factor(std::uint32_t k)
{
    return k == 0 ? 1. : std::sqrt(2.);
}

// Writes the magnitude rows of every bin, in slot order, and closes the files.
void write_magnitude_files(const psd_view& view, const file_set& set)
{
    const int first = psd_count(set);
    if (first == set.count) return;
    for (std::uint32_t k = 0; k < view.bins(); ++k) {
        const double f = k * view.df;
        const double r = bin_rms(view, k);
        const double p = peak_factor(k);
        for (int i = first; i < set.count; ++i)
            write_row(2 + i, f, magnitude_value(view, set.files[i], r, p));
    }
    for (int i = first; i < set.count; ++i) close_slot(2 + i);
}

// Prints m, df, nave and the overall rms in the English unit.
void print_summary()
{
    zprint("\n\n\n m= %ld", static_cast<long>(st.m));
    zprint("\n df = %10.3e ", st.df);
    zprint("\n nave = %ld ", static_cast<long>(st.nave));
    zprint("\n overall rms = %10.3e ", st.overall_rms);
}

} // namespace

double file_value(const psd_view& view, const result_file& file, std::uint32_t k)
{
    if (file.content == file_content::psd) return psd_value(view, file, view.psd[k]);
    return magnitude_value(view, file, bin_rms(view, k), peak_factor(k));
}

void write_spectrum_files(const psd_view& view)
{
    const file_set& set = file_set_of(view.quantity);
    write_psd_files(view, set);
    write_magnitude_files(view, set);
}

void write_spectra(const psd_view& view)
{
    write_spectrum_files(view);
    print_summary();
}
