// The file set of the run's quantity: its names in the fname slots, announced,
// and its files made.
#pragma once

#include "output/file_sets.h"

// Puts the names of the run quantity's output files into fname slots 2.. and announces them.
void name_output_files();

// Announces and creates the output files of the run's quantity.
void create_output_files();

// Puts the names of a set's files into fname slots 2.., in slot order.
void name_set_files(const file_set& set);

// Number of the last file slot the quantity uses (7, 15 for displacement, 2 for volts).
int last_slot();
