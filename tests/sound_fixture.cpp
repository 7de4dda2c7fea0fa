#include "sound_fixture.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "gfx/palette_file.h"
#include "gfx/sheet_image.h"
#include "gfx/sheets.h"
#include "sound/wave_file.h"

namespace zoa::test {

namespace fs = std::filesystem;

TempFolder::TempFolder(const std::string& name) {
    static int made = 0;
    path_ = (fs::temp_directory_path() /
             ("zoa_" + name + "_" + std::to_string(getpid()) + "_" + std::to_string(made++)))
                .string();
    fs::remove_all(path_);
    fs::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

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
    fs::create_directories(root + "/data/nbm");
    for (const SheetInfo& sheet : kSheets) {
        std::string path = sheet.path;
        for (char& c : path) c = c == '\\' ? '/' : c;
        std::vector<uint8_t> pixels(static_cast<size_t>(640) * static_cast<size_t>(sheet.height),
                                    7);
        WriteSheetFile(PackedSheetPath(root + "/" + path), 640, sheet.height, pixels.data());
    }
    Palette palette{};
    for (int i = 0; i < kPaletteSize; ++i) {
        palette[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                      static_cast<uint8_t>(i / 2), 0};
    }
    std::string palettePath = kPaletteFilePath;
    for (char& c : palettePath) c = c == '\\' ? '/' : c;
    WritePaletteFile(root + "/" + palettePath, palette);
    WriteFixtureSounds(root);
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace zoa::test
