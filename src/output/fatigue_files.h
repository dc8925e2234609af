// The files of the response and fatigue results, in the result files' number
// format "%10.4e" with a blank after each field:
//   A_G.vrs       fn (Hz), VRS, Miles, ERS (G), and with a profile its VRS and ERS;
//                 a natural frequency whose Miles or ERS cannot be computed (fn
//                 beyond the PSD's last line, fn T <= 1) has no row at all
//   A_G.fds       fn (Hz), the record's damage potential (m^B), and with a profile
//                 its damage potential and the ratio profile/record; a natural
//                 frequency without record damage has no row
//   X.rainflow    range, mean, count (0.5 or 1) of each cycle in the quantity's
//                 first unit, in the order counted (A_G.rainflow, P_psi.rainflow)
// The rainflow rows are written during the pass into a temporary file and copied
// into the staged file after it.
#pragma once

#include "output/reading_file_table.h"
#include "output/result_outcome.h"
#include "readings/fatigue_damage_spectrum.h"
#include "readings/rainflow_count.h"
#include "readings/response_spectra.h"

#include <cstdio>
#include <string>
#include <vector>

// The rows of the reading-file table for these files: A_G.vrs, A_G.fds and
// each quantity's rainflow file.
const std::vector<reading_file>& fatigue_reading_files();

// Writes the rows of counted cycles, ranges and means times factor; false when a write failed.
bool write_rainflow_rows(std::FILE* f, const std::vector<rainflow_cycle>& cycles, double factor);

// Whether a natural frequency's row of the VRS file can be written: every figure a number.
bool vrs_row_written(const response_point& record, const response_point* profile);

// Stages A_G.vrs of the record's spectra and, when not null, the profile's (the same fn).
void stage_vrs_file(channel_outcome& set, const result_request& request,
                    const response_spectra& record, const response_spectra* profile);

// Stages A_G.fds of the FDS and its comparison with a profile.
void stage_fds_file(channel_outcome& set, const result_request& request, const fds_result& fds);

// Stages the quantity's rainflow file, its rows copied from the temporary file rows.
void stage_rainflow_file(channel_outcome& set, const result_request& request, int quantity,
                         std::FILE* rows);
