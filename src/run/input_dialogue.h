// The dialogue's questions for the record: its file, its quantity and unit.
#pragma once

// Asks for the input file, opens it, and asks the quantity and the unit.
void input_dialogue();
