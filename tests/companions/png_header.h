// Reads the size of a PNG picture from its header.
#pragma once

#include <string>

// The picture size; valid only when the file starts with the PNG signature and an IHDR chunk.
struct png_size {
    bool valid = false;
    unsigned width = 0;
    unsigned height = 0;
};

// Checks the 8-byte PNG signature and the IHDR chunk that must follow it.
png_size read_png_size(const std::string& path);
