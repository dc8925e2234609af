// The quantities a record can hold and the units it can be in: one table gives,
// per quantity and unit, the dialogue's menu text, the spellings the options
// accept, the label reports print, the factor to SI units, and the English
// factor that turns SI values back into the quantity's first unit.
#pragma once

#include "core/analysis_state.h"

// One unit of a quantity.
struct unit_row {
    const char* label;     // as reports and the statistics lines print it: "G", "m/sec^2"
    const char* spellings; // other spellings the options accept, '|' between them
    double to_si;          // factor from this unit to the SI unit, 0 when it is the SI unit
    bool english;          // result files in it take the quantity's English factor
    bool micro;            // and then a factor of 1000000 (micro inch, micron)
};

// One quantity, with its units by unit code from 1.
struct quantity_row {
    const char* name;                       // "acceleration" .. "volts"
    const char* unit_menu;                  // the dialogue's unit menu line, nullptr for volts
    double analysis_state::*english_factor; // SI to the first unit, nullptr for volts
    int si_unit;                            // code of the unit the SI files are in
    int unit_count;                         // units the menu offers (volts: one, never asked)
    unit_row units[6];
};

// The row of a quantity 1..6, or nullptr for any other code.
const quantity_row* quantity_of(int input_type);

// Name of a quantity 1..6: "acceleration" .. "volts".
const char* quantity_name(int input_type);

// Label of a unit of the quantity: "G", "m/sec^2", ..., "V" for volts whatever the code.
const char* unit_label(int input_type, int input_unit);

// Number of units the quantity's menu offers, the highest unit code it accepts (volts: none).
int unit_count(int input_type);

// Factor from the record's unit to SI units, or 0 when the samples are already in SI units.
double si_factor(int input_type, int input_unit);

// The start-up constant that turns an SI value into the quantity's first unit (volts: 1).
double english_factor(int input_type);

// The row of a unit of the quantity; volts has its one unit whatever the code;
// nullptr for a code the quantity does not have.
const unit_row* unit_of(int input_type, int input_unit);
