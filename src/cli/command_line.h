// The command line of the scripted run: one table of options, read with
// getopt_long. Choices go straight into analysis_state; the rest is kept here.
#pragma once

#include "readings/reading_request.h"

#include <string>
#include <vector>

// How much the scripted run prints on standard output.
enum class report_level { normal, quiet, verbose };

// What the command line asks for besides the choices kept in analysis_state.
struct script_options {
    std::string record;       // path of the record, as given
    std::string unit;         // -u as given, resolved once the quantity is known
    std::string output_dir;   // -o: folder of the result files
    std::string summary;      // --summary: path of the JSON summary, "" for none
    report_level level;       // --quiet, --verbose or neither
    bool survey_only;         // --survey: survey and table, then exit 0
    bool samples_given;       // -m was given
    reading_request readings; // --tones, --band, --octave, --also, --table
};

// The one record of the scripted run's options.
extern script_options opts;

// Forgets every option read into opts (the tests' reset).
void reset_script_options();

// An option of the table as the help, the completion and the manual name it.
struct option_name {
    const char* name; // long form, without "--"
    char letter;      // short form, or 0 for none
    bool takes_value; // it is followed by a value
};

// The options of the scripted run, read-only, in the order of the help text.
std::vector<option_name> option_names();

// Reads the options and the record's name into opts and analysis_state. --help
// and --version print and end the process with status 0; a usage error ends it
// with one line on standard error and status 2.
void read_command_line(int argc, char** argv);
