// The layout of a scripted run's record, from its options: the column reader's
// amplitude column and sample rate, and the channels of --columns all.
#pragma once

// Checks the amplitude column against the record's first data line and, for
// every column at once, sets the channels: each column from st.column on. Ends
// the run when the line has too few fields (for the amplitude or the reference
// column) or more than 16 channels. A sound file's channels are its columns,
// numbered from 1 (sound_layout()).
void prepare_layout(bool every_column);
