#include "test_support.h"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <iterator>

#include "files/palette_file.h"
#include "gfx/sheet_image.h"
#include "platform/data_path.h"
#include "play/sheets.h"

namespace zoa::test {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("zoa_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

PaletteEntry FixtureColour(int i) {
    return PaletteEntry{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                        static_cast<uint8_t>(i * 7), 0};
}

Palette FixturePalette() {
    Palette p;
    for (int i = 0; i < kPaletteSize; ++i) p[i] = FixtureColour(i);
    return p;
}

uint8_t FixturePixel(int sheet, int32_t x, int32_t y) {
    if (x % 8 == 0 && y % 8 == 0) return TransparentIndex;
    const int v = (sheet * 20 + x / 16 + y / 16) % 240 + 1;
    return static_cast<uint8_t>(v);
}

namespace {

void GenerateFixtureSheets(const std::string& root) {
    std::filesystem::create_directories(root + "/data/nbm");
    for (int s = 0; s < kSheetCount; ++s) {
        const int32_t h = kSheets[s].height;
        std::vector<uint8_t> pixels(static_cast<size_t>(640) * h);
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < 640; ++x)
                pixels[static_cast<size_t>(y) * 640 + x] = FixturePixel(s, x, y);
        }
        std::string path = kSheets[s].path;
        for (char& c : path) c = c == '\\' ? '/' : c;
        WriteSheetFile(PackedSheetPath(root + "/" + path), 640, h, pixels.data());
    }
    WritePaletteFile(root + "/data/nbm/SP.PAL", FixturePalette());
}

// The sheets take a while to make, so they are made once per test program
// and copied into each test's folder: a copy, so a test may damage its own.
const std::filesystem::path& FixtureSheetFolder() {
    static const TempDir folder;
    static const bool made = (GenerateFixtureSheets(folder.str()), true);
    (void)made;
    return folder.path();
}

}  // namespace

void WriteFixtureSheets(const std::string& root) {
    const std::filesystem::path to = std::filesystem::path(root) / "data/nbm";
    std::filesystem::create_directories(to);
    for (const auto& file : std::filesystem::directory_iterator(FixtureSheetFolder() / "data/nbm"))
        std::filesystem::copy_file(file.path(), to / file.path().filename(),
                                   std::filesystem::copy_options::overwrite_existing);
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

}  // namespace zoa::test
