// Conditioning of each segment before its transform: mean removal, the window
// and the conversion to SI units.
#pragma once

// Subtracts the segment mean ave from entries 0..m-1.
void remove_mean();

// Applies the periodic Hanning window of length m, scaled by sqrt(8/3).
void apply_hanning();

// Converts the samples from the input unit to SI units.
void convert_to_si();
