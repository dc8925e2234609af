// The sound file kinds a record may start as, told by the magic bytes of their
// header: a record that starts so is a sound file, whether libsndfile can open
// it or not, and never text.
#pragma once

#include <cstddef>

constexpr std::size_t sound_magic_bytes = 12; // bytes the kinds are told by

// The kind of sound file the first bytes of a record announce ("WAV", "FLAC",
// ...), or nullptr when they announce none read here.
const char* sound_magic_kind(const unsigned char* head, std::size_t n);
