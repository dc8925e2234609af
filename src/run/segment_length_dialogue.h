// The dialogue's questions for the analysis: the samples per segment, the mean
// removal and the window.
#pragma once

// Asks for the samples per segment until a power of two from 2 to 65536 is given.
void segment_length_dialogue();

// Asks for mean removal and the window.
void choices_dialogue();
