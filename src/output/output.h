// Results output: the file set of the quantity, the PSD and magnitude spectra,
// and the run summary.
#pragma once

#include "output/file_sets.h"
#include "readings/psd_view.h"

#include <cstdint>

// Puts the names of the run quantity's output files into fname slots 2.. and announces them.
void name_output_files();

// Announces and creates the output files of the run's quantity.
void create_output_files();

// Writes the PSD and magnitude files of the finished PSD's view, closes them,
// prints the summary.
void write_spectra(const psd_view& view);

// Writes the PSD and magnitude files of the view's quantity from the view's PSD
// into the open streams of slots 2.., in the set's order, and closes them.
void write_spectrum_files(const psd_view& view);

// The value a result file of the view's quantity holds for bin k, as its row has it.
double file_value(const psd_view& view, const result_file& file, std::uint32_t k);

// Puts the names of a set's files into fname slots 2.., in slot order.
void name_set_files(const file_set& set);

// Number of the last file slot the quantity uses (7, 15 for displacement, 2 for volts).
int last_slot();
