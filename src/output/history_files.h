// The time history's files of a set (histogram, running figures, spectrogram,
// max-hold and min-hold), their names per quantity, their rows in the result
// files' number format, their rows in the table of reading files, and the
// statistics and stationarity in the JSON summary.
#pragma once

#include "output/reading_file_table.h"
#include "output/result_outcome.h"
#include "readings/running_figures.h"
#include "readings/sample_histogram.h"

#include <cstdint>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

// The kinds of file the time history writes.
enum class history_kind { histogram, running, spectrogram, max_hold, min_hold };

// A time history file being written, staged and listed in its set.
struct history_file {
    std::FILE* f;     // the staged stream
    std::string path; // its full path
    bool ok;          // every row was written
};

// The names of a kind's files of the quantity: one (histogram, running) or
// one per PSD file, the English one first ("A_G2Hz.sgram", "A_ms22Hz.sgram").
std::vector<std::string> history_file_names(int quantity, history_kind kind);

// Whether the i-th of a spectrum kind's files of the quantity is in the English unit.
bool history_file_english(int quantity, std::size_t i);

// Stages the file name of the kind in the set's folder, listed in the set.
history_file open_history_file(channel_outcome& set, const result_request& request,
                               const std::string& name, history_kind kind, int quantity);

// Writes the histogram's rows: centre, count, density and Gaussian density,
// values times factor (densities over it) into the first unit.
void write_histogram_rows(history_file& file, const std::vector<histogram_row>& rows,
                          double factor);

// Writes one running window's row: start time, rms, peak, crest factor, kurtosis.
void write_running_row(history_file& file, double time, const running_window& w, double factor);

// Writes the rows "frequency value" of bins 0..bins-1 of a PSD times factor;
// with a frame time, rows "time frequency value" and a blank line after them.
void write_spectrum_rows(history_file& file, const double* psd, std::uint32_t bins, double df,
                         double factor, const double* frame_time);

// Closes the file; a failed write or close ends the run.
void close_history_file(history_file& file);

// The time history's rows of the table of reading files, every quantity's.
const std::vector<reading_file>& history_reading_files();

// Adds the set's statistics and stationarity to its summary's results.
void add_history_summary(nlohmann::ordered_json& summary, const channel_outcome& set);
