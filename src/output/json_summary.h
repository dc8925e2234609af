// The JSON summary of a scripted run: the record, the choices, the results and
// the files, and the one-line caption of the run's parameters for pictures.
#pragma once

#include "output/result_outcome.h"

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

// The run's parameters in one line: "m=1024, df=1.000e+000 Hz, nave=7, hanning
// window, overall rms=8.153e-001 G".
std::string run_caption();

// The same line with another overall rms and its unit (a derived quantity's).
std::string run_caption(double overall_rms, const char* unit);

// The summary of the record at path record (as given) and its result files, as a JSON object.
nlohmann::ordered_json summary_object(const std::string& record,
                                      const std::vector<std::string>& files);

// Adds the set's check against the profile file, when it was checked: the
// check file to "files" and the figures as "profile".
void add_profile_summary(nlohmann::ordered_json& j, const channel_outcome& set,
                         const std::string& profile_file);
// Adds a set's readings to its summary: results.tones, bands, dof,
// confidence_90_db and derived, and the set's further files to files[].
void add_readings(nlohmann::ordered_json& summary, const channel_outcome& set);

struct transfer_outcome;

// Adds a response channel's H1 files to its summary's files and its resonance as
// "transmissibility": reference, peak_frequency, peak_magnitude, coherence_at_peak, q.
void add_transfer_summary(nlohmann::ordered_json& summary, const transfer_outcome& transfer);

// A JSON value as the summary writes it: indented, exponents of three digits, a line end.
std::string json_text(const nlohmann::ordered_json& j);

// The window's name: "hanning" or "rectangular".
const char* window_name();

// The record's own unit (V for volts).
const char* record_unit();

// The unit of the overall rms: the first of the quantity's menu, V for volts.
const char* rms_unit();

// --scale's factor as the shortest decimal that gives back its single-precision
// value (0.1, not 0.100000001490116), as a double.
double scale_value();

// The real path of a file, or the path as given when it cannot be resolved.
std::string real_path(const std::string& path);
