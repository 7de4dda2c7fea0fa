#include "sound_fixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "sound/wave_file.h"
#include "test_support.h"

namespace zoa::test {

namespace fs = std::filesystem;

const char* const kSoundNames[19] = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J",
                                     "K", "L", "M", "N", "O", "1", "2", "3", "4"};

uint32_t FixtureSoundBytes(int n) {
    return 2 * static_cast<uint32_t>(100 + 10 * n);
}

void WriteFixtureSounds(const std::string& root) {
    fs::create_directories(root + "/data/sound");
    for (int n = 0; n < 19; ++n) {
        std::vector<int16_t> samples(FixtureSoundBytes(n) / 2);
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<int16_t>((i % 50) * 400 - 10000);
        WriteWaveFile16(root + "/data/sound/" + kSoundNames[n] + ".WAV", 11025, 1, samples);
    }
}

void WriteFixtureData(const std::string& root) {
    WriteFixtureSheets(root);
    WriteFixtureSounds(root);
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace zoa::test
