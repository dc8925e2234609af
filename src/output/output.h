// Results output: the file set of the quantity, the PSD and magnitude spectra,
// and the run summary.
#pragma once

// Puts the names of the run quantity's output files into fname slots 2.. and announces them.
void name_output_files();

// Announces and creates the output files of the run's quantity.
void create_output_files();

// Writes the PSD and magnitude files of the finished PSD, closes them, prints the summary.
void write_spectra();

// Runs the whole output stage: finish_psd, create_output_files, then write_spectra.
void output_stage();

// Number of the last file slot the quantity uses (7, 15 for displacement, 2 for volts).
int last_slot();
