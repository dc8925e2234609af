// The options of the response and fatigue results: --vrs, --fds B, --rainflow,
// --sn B[:C] and --duration SEC, kept as given and checked against the record's
// quantity before the pass; a wrong value ends the process with status 2.
#pragma once

// What the response and fatigue options have given.
struct fatigue_option_state {
    bool vrs;           // --vrs: the VRS, Miles and ERS file of an acceleration record
    double fds;         // --fds B: the FDS's S-N exponent, 0 when not asked
    bool rainflow;      // --rainflow: the rainflow file of the record
    double sn_exponent; // --sn B[:C]: the S-N exponent of the damages, 0 when not asked
    double sn_constant; // --sn B[:C]: the S-N constant, 1 when left out
    double duration;    // --duration SEC: the test or exposure duration, 0 for the record's
};

// The one record of the response and fatigue options.
extern fatigue_option_state fatigue_option;

// --vrs: the response spectra of the PSD.
void take_vrs(const char* unused);

// --fds B: the fatigue damage spectrum with S-N exponent B above 0.
void take_fds(const char* text);

// --rainflow: the rainflow count's file.
void take_rainflow(const char* unused);

// --sn B[:C]: the S-N curve N S^B = C of the damage estimates, B and C above 0.
void take_sn(const char* text);

// --duration SEC: the duration of the ERS and the profile's spectra, above 0.
void take_duration(const char* text);

// After all options: --vrs and --fds need an acceleration record, and none of
// these options goes with --survey, which computes no results.
void check_fatigue_options();

// Whether the record's samples are rainflow-counted in the pass (--rainflow or --sn).
bool rainflow_asked();

// Forgets the response and fatigue options (the tests' reset).
void reset_fatigue_option();
