// The folders result files go into: the output folder of -o, made as mkdir -p
// does, and a channel's folder under it. A link on the way is followed only
// when it belongs to the user running zentri or to root, so that nobody else
// can redirect the results. The folders a run makes are removed when it fails.
#pragma once

#include <string>

// Makes the folder given to -o and the folders above it where missing and
// returns its real path; ends the run when that cannot be done.
std::string make_output_folder(const std::string& given);

// Makes a channel's folder when missing; ends the run when it cannot.
void make_result_folder(const std::string& folder);

// Ends the run when a part of folder (as given, without its last '/') is a
// link that belongs neither to this user nor to root; what names the option.
void refuse_foreign_links(const std::string& what, const std::string& folder);
