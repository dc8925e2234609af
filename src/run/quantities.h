// Names of the quantities and of the units a record can be in, as the console
// and the reports print them.
#pragma once

// Name of a quantity 1..6: "acceleration" .. "volts".
const char* quantity_name(int input_type);

// Label of the record's own unit: "G", "m/sec^2", ..., "V" for volts.
const char* unit_label(int input_type, int input_unit);

// Number of units the quantity's menu offers, the highest unit code it accepts (volts: none).
int unit_count(int input_type);
