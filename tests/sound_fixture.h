#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zoa::test {

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes.
class TempFolder {
public:
    explicit TempFolder(const std::string& name);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

private:
    std::string path_;
};

// The nineteen sound files' names in load order (A..O, 1..4).
extern const char* const kSoundNames[19];

// Sample bytes of the fixture sound at load position n (0-based): 16-bit mono
// at 11025 Hz, 100 + 10 n samples long, so each file has its own size.
uint32_t FixtureSoundBytes(int n);

// Writes data/sound/*.WAV under `root`.
void WriteFixtureSounds(const std::string& root);

// Writes a whole minimal data set under `root`: the ten sheets, the palette and
// the sounds (no tile attribute file, which the game does without).
void WriteFixtureData(const std::string& root);

// Reads a whole text file.
std::string ReadText(const std::string& path);

}  // namespace zoa::test
