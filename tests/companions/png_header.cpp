// Reading the width and height from a PNG file's header.
#include "png_header.h"

#include <cstring>
#include <fstream>

namespace {

// A 32-bit big-endian number at p.
unsigned big_endian(const unsigned char* p)
{
    return (unsigned{p[0]} << 24) | (unsigned{p[1]} << 16) | (unsigned{p[2]} << 8) | p[3];
}

} // namespace

png_size read_png_size(const std::string& path)
{
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    unsigned char head[24] = {};
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(head), sizeof head);
    png_size size;
    // Signature, then the IHDR chunk: length 13, type, width, height.
    if (in.gcount() != sizeof head || std::memcmp(head, signature, 8) != 0 ||
        big_endian(head + 8) != 13 || std::memcmp(head + 12, "IHDR", 4) != 0)
        return size;
    size.width = big_endian(head + 16);
    size.height = big_endian(head + 20);
    size.valid = size.width > 0 && size.height > 0;
    return size;
}
