#include "run/quantities.h"

namespace {

const char* const quantity_names[] = {"acceleration", "velocity", "displacement",
                                      "force",        "pressure", "volts"};

// Unit labels of each quantity, by unit code from 1; volts has the one label "V".
const char* const unit_labels[6][6] = {
    {"G", "m/sec^2"},
    {"in/sec", "m/sec"},
    {"inch", "mils", "micro inch", "meters", "mm", "microns"},
    {"lbf", "N"},
    {"psi", "Pa"},
    {"V"},
};

// True for a quantity code 1..6.
bool known_quantity(int input_type)
{
    return input_type >= 1 && input_type <= 6;
}

} // namespace

const char* quantity_name(int input_type)
{
    return known_quantity(input_type) ? quantity_names[input_type - 1] : "";
}

const char* unit_label(int input_type, int input_unit)
{
    if (!known_quantity(input_type)) return "";
    if (input_type == 6) return unit_labels[5][0];
    if (input_unit < 1 || input_unit > 6) return "";
    const char* label = unit_labels[input_type - 1][input_unit - 1];
    return label != nullptr ? label : "";
}

int unit_count(int input_type)
{
    int n = 0;
    while (input_type != 6 && n < 6 && *unit_label(input_type, n + 1) != '\0') ++n;
    return n;
}
