// The files of a response channel against the reference channel: H1.frf
// (frequency, |H1|, phase of H1 in degrees) and H1.coh (frequency, coherence),
// bins 0..m/2-1 in the rows of the spectrum files, and the resonance they show.
#pragma once

#include "readings/resonance.h"
#include "readings/transfer_function.h"

#include <optional>
#include <string>
#include <vector>

// One file of the pair: its name, what it holds and in which unit, for the summary.
struct transfer_file {
    const char* name;
    const char* holds;
    const char* unit;
};

extern const transfer_file transfer_files[2];

// What a response channel got besides its usual files.
struct transfer_outcome {
    int reference_column;           // the reference's column in the record
    std::string reference_name;     // the reference's folder name, as the report names it
    std::vector<std::string> files; // full paths of H1.frf and H1.coh
    resonance peak;                 // the resonance of its H1
};

// Writes a response channel's H1.frf and H1.coh of the curves into folder,
// staged as the other result files; returns their full paths. Ends the run
// when the summary would be one of them or a file cannot be written.
std::vector<std::string> stage_transfer_files(const transfer_curves& curves,
                                              const std::string& folder,
                                              const std::string& summary_path);
