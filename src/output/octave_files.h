// The octave files: beside each PSD file, the same name with ".psd" replaced by
// ".oct3" (".oct1", ".oct6", ...), one row per fractional-octave band in the
// output format of the spectrum files, "%10.4e %10.4e %10.4e \n": the band's
// mid-band frequency in Hz, its band PSD (power over bandwidth) in the PSD
// file's unit and its band rms in the matching amplitude unit, so A_G2Hz.oct3
// holds G^2/Hz and G, A_ms22Hz.oct3 (m/sec^2)^2/Hz and m/sec^2.
#pragma once

#include "output/file_sets.h"
#include "readings/octave_bands.h"

#include <cstdio>
#include <string>
#include <vector>

// The octave file's name of a PSD file: "A_G2Hz.psd" gives "A_G2Hz.oct3".
std::string octave_file_name(const std::string& psd_name, int bands_per_octave);

// What an octave file holds, "1/3-octave bands: centre (Hz), band PSD, band rms".
std::string octave_content(int bands_per_octave);

// The units of an octave file's columns beside a PSD file: "Hz, G^2/Hz, G".
std::string octave_units(int input_type, const result_file& psd_file);

// Writes the rows of the bands, their values times factor squared (PSD) and
// factor (rms) from SI; false when a write failed.
bool write_octave_rows(std::FILE* f, const std::vector<octave_band>& bands, double factor);
