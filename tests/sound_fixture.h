#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "test_support.h"

namespace zoa::test {

// A path inside a temporary folder, as the string the game's loaders take.
inline std::string operator/(const TempDir& dir, const std::string& relative) {
    return dir.str() + "/" + relative;
}

// The nineteen sound files' names in load order (A..O, 1..4).
extern const char* const kSoundNames[19];

// Sample bytes of the fixture sound at load position n (0-based): 16-bit mono
// at 11025 Hz, 100 + 10 n samples long, so each file has its own size.
uint32_t FixtureSoundBytes(int n);

// Writes data/sound/*.WAV under `root`.
void WriteFixtureSounds(const std::string& root);

// Writes a data set the game starts on under `root`: the fixture sheets and
// palette and the sounds (no tile attribute file, which the game does without).
void WriteFixtureData(const std::string& root);

// Reads a whole text file.
std::string ReadText(const std::string& path);

}  // namespace zoa::test
