// What a completed scripted run reports: the overall rms, the line of its
// parameters for pictures, the JSON summary, and the report on standard output.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

// The run's parameters in one line: "m=1024, df=1.000e+000 Hz, nave=7, hanning
// window, overall rms=8.153e-001 G".
std::string run_caption();

// The JSON summary of the run: the record, the choices, the results and the files.
std::string summary_json(const std::vector<std::string>& files);

// The summary as a JSON object, before it is written as text.
nlohmann::ordered_json summary_object(const std::vector<std::string>& files);

// A JSON value as the summary writes it: indented, exponents of three digits, a line end.
std::string json_text(const nlohmann::ordered_json& j);

// Prints the record's survey figures and the run's choices on standard output.
void report_record();

// Prints the segment length, df and nave of the run on standard output.
void report_segments();

// Prints the results and the files written on standard output.
void report_results(const std::vector<std::string>& files);
