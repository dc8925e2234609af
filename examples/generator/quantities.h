// The quantities zentri analyses and the units of their amplitude column, with
// the answers to zentri's menus and the factor that takes a value to the unit
// zentri reports its overall rms in (the first unit of each quantity's menu).
#pragma once

#include <string>

// One unit of a quantity's menu.
struct unit_info {
    const char* name;  // as the user types it, and the label of the answers
    int code;          // zentri's answer to "Select Input Unit" (0 for volts: not asked)
    double to_english; // multiplier to the quantity's first unit
};

// One quantity with its unit menu.
struct quantity_info {
    const char* name;       // acceleration, velocity, ...
    const unit_info* units; // the menu, in zentri's order
    int unit_count;
    int code; // zentri's answer to "Specify Input File Type"
};

// Finds a quantity by name or menu code; nullptr when there is none.
const quantity_info* find_quantity(const std::string& word);

// Finds a unit of the quantity by name (case-insensitive) or menu code; nullptr when none.
const unit_info* find_unit(const quantity_info& q, const std::string& word);

// The unit zentri reports the overall rms in, the first of the menu.
const unit_info& english_unit(const quantity_info& q);
