// Telling a sound file's kind from its magic bytes.
#include "input/sound_magic.h"

#include <cstring>

namespace {

// One kind: its name, the bytes at 0 and those at 8 ("" for none).
struct magic {
    const char* kind; // the kind's name
    const char* at0;  // 4 bytes at offset 0
    const char* at8;  // 4 bytes at offset 8, or ""
};

constexpr magic magics[] = {
    {"WAV", "RIFF", "WAVE"}, {"WAV", "RIFX", "WAVE"},  {"RF64", "RF64", "WAVE"},
    {"W64", "riff", ""},     {"AIFF", "FORM", "AIFF"}, {"AIFF", "FORM", "AIFC"},
    {"CAF", "caff", ""},     {"FLAC", "fLaC", ""},
};

} // namespace

const char* sound_magic_kind(const unsigned char* head, std::size_t n)
{
    for (const magic& m : magics) {
        if (n < 4 || std::memcmp(head, m.at0, 4) != 0) continue;
        if (m.at8[0] == '\0') return m.kind;
        if (n >= sound_magic_bytes && std::memcmp(head + 8, m.at8, 4) == 0) return m.kind;
    }
    return nullptr;
}
