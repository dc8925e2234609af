// The folders of a run over several channels: one per amplitude column, under
// the output folder, named after the column.
#pragma once

#include <string>
#include <vector>

// The folder names of the st.channels channels, in column order: the column's
// name in the record's header made safe for a file name (every byte other
// than a letter, a digit, '.', '-' or '_' becomes '_', runs of '_' become one,
// at most 64 bytes), or "colN" for column N when the header names none (a
// sound file's channel N is column N and always "colN"), the
// name starts with a dot, or an earlier channel has it already (with '_'
// added while that one is taken too).
std::vector<std::string> channel_folders();
