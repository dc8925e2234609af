// What a completed scripted run reports: the overall rms, the line of its
// parameters for pictures, the JSON summary, and the report on standard output.
#pragma once

#include <string>
#include <vector>

// The run's parameters in one line: "m=1024, df=1.000e+000 Hz, nave=7, hanning
// window, overall rms=8.153e-001 G".
std::string run_caption();

// The JSON summary of the run: the record, the choices, the results and the files.
std::string summary_json(const std::vector<std::string>& files);

// Prints the record's survey figures and the run's choices on standard output.
void report_record();

// Prints the results and the files written on standard output.
void report_results(const std::vector<std::string>& files);
