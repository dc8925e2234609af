// The rows of the PSD and magnitude files of a finished PSD, and the run summary lines.
#pragma once

#include "output/file_sets.h"
#include "readings/psd_view.h"

#include <cstdint>

// Writes the PSD and magnitude files of the finished PSD's view, closes them,
// prints the summary.
void write_spectra(const psd_view& view);

// Writes the PSD and magnitude files of the view's quantity from the view's PSD
// into the open streams of slots 2.., in the set's order, and closes them.
void write_spectrum_files(const psd_view& view);

// The value a result file of the view's quantity holds for bin k, as its row has it.
double file_value(const psd_view& view, const result_file& file, std::uint32_t k);
