// The generator's command line.
#pragma once

#include "recipe.h"

#include <string>

// Outcome of reading the command line.
enum class command { make_record, show_usage, bad_usage };

// Fills r from the arguments; on bad_usage, error says what is wrong.
command read_command_line(int argc, char** argv, recipe& r, std::string& error);

// The usage text.
const char* usage_text();
