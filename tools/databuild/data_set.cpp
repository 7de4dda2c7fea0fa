#include "data_set.h"

#include <filesystem>

#include "files/palette_file.h"
#include "files/png_writer.h"
#include "gfx/sheet_image.h"
#include "icon_file.h"
#include "logo_video.h"
#include "palette_design.h"
#include "preview.h"
#include "sheet_builders.h"
#include "sim/world_map.h"
#include "sound/wave_file.h"
#include "sound_design.h"
#include "sprite_sheets.h"

namespace zoa::databuild {

const SoundFileSpec kSoundFiles[19] = {
    {"A.WAV"}, {"B.WAV"}, {"C.WAV"}, {"D.WAV"}, {"E.WAV"}, {"F.WAV"}, {"G.WAV"},
    {"H.WAV"}, {"I.WAV"}, {"J.WAV"}, {"K.WAV"}, {"L.WAV"}, {"M.WAV"}, {"N.WAV"},
    {"O.WAV"}, {"1.WAV"}, {"2.WAV"}, {"3.WAV"}, {"4.WAV"},
};

Canvas BuildSheet(SheetId id) {
    switch (id) {
        case kSPl:
            return BuildLoadingSheet();
        case kSPm:
            return BuildTitleSheet();
        case kSPmi:
            return BuildInterfaceSheet();
        case kSPt:
            return BuildTileSheet();
        case kSPb:
            return BuildBackgroundSheet();
        default:
            return BuildSpriteSheet(id);
    }
}

std::vector<int16_t> BuildSound(int index) {
    return index < 15 ? SoundEffect(index) : MusicTrack(index - 15);
}

bool WriteDataSet(const std::string& outDir, const std::string& previewDir, std::string* error) {
    namespace fs = std::filesystem;
    const fs::path data = fs::path(outDir) / "data";
    std::error_code ec;
    for (const char* sub : {"nbm", "sound", "logo", "map"}) fs::create_directories(data / sub, ec);
    if (!previewDir.empty()) fs::create_directories(previewDir, ec);
    auto fail = [error](const std::string& what) {
        *error = "cannot write " + what;
        return false;
    };

    for (int i = 0; i < kSheetIdCount; ++i) {
        const SheetId id = static_cast<SheetId>(i);
        const Canvas sheet = BuildSheet(id);
        const std::string path = (data / "nbm" / kSheetSpecs[i].file).string();
        if (!WriteSheetFile(path, sheet.Width(), sheet.Height(), sheet.Pixels().data()))
            return fail(path);
        if (!previewDir.empty()) {
            std::string name = kSheetSpecs[i].file;
            name = name.substr(0, name.find('.')) + ".png";
            if (!WriteSheetPreview((fs::path(previewDir) / name).string(), id, sheet))
                return fail(name);
        }
    }
    const std::string palettePath = (data / "nbm" / "SP.PAL").string();
    if (!WritePaletteFile(palettePath, GamePalette())) return fail(palettePath);

    for (int i = 0; i < 19; ++i) {
        const std::string path = (data / "sound" / kSoundFiles[i].file).string();
        if (!WriteWaveFile16(path, kSampleRate, 1, BuildSound(i))) return fail(path);
    }
    // The tile art follows the game's default attributes tile for tile.
    const std::string attributesPath = (data / "map" / "Spt.T").string();
    if (!WriteTileAttributeFile(attributesPath, WorldMap::DefaultTileAttributes()))
        return fail(attributesPath);

    const std::string iconPath = (data / "icon.bmp").string();
    if (!WriteIconFile(iconPath)) return fail(iconPath);
    const std::string iconPngPath = (data / "icon.png").string();
    if (!WriteIconPng(iconPngPath)) return fail(iconPngPath);
    const std::string logoPath = (data / "logo" / "__Logo.avi").string();
    std::string why;
    if (!WriteLogoVideo(logoPath, &why)) return fail(logoPath + ": " + why);
    if (!previewDir.empty()) {
        for (int i : {20, 60}) {
            const Canvas frame = LogoFrame(i);
            const std::string name =
                (fs::path(previewDir) / ("logo_" + std::to_string(i) + ".png")).string();
            if (!WritePng(name, frame.Pixels().data(), frame.Width(), frame.Height(),
                          GamePalette()))
                return fail(name);
        }
    }
    return true;
}

}  // namespace zoa::databuild
