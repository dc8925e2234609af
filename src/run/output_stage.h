// The dialogue's output stage: the finished PSD written into its file set.
#pragma once

// Runs the whole output stage: finish_psd, create_output_files, then write_spectra.
void output_stage();
