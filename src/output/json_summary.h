// The JSON summary of a scripted run: the record, the choices, the results and
// the files, and the one-line caption of the run's parameters for pictures.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

// The run's parameters in one line: "m=1024, df=1.000e+000 Hz, nave=7, hanning
// window, overall rms=8.153e-001 G".
std::string run_caption();

// The summary of the record at path record (as given) and its result files, as a JSON object.
nlohmann::ordered_json summary_object(const std::string& record,
                                      const std::vector<std::string>& files);

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
