// The data set the build generated: every file is where the game looks for it,
// has the right size and format, and loads through the game's own readers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "data_set.h"
#include "files/le_words.h"
#include "files/palette_file.h"
#include "gfx/sheet_image.h"
#include "logo_video.h"
#include "sim/world_map.h"
#include "sound/wave_file.h"
#include "sprite_layout.h"
#include "video_probe.h"

namespace zoa::databuild {
namespace {

std::string DataFile(const std::string& rel) {
    return std::string(ZOA_DATA_BUILD_DIR) + "/data/" + rel;
}

TEST(DataBuildFiles, SheetsHaveTheirSizesAndLoad) {
    for (int i = 0; i < kSheetIdCount; ++i) {
        const std::string path = DataFile(std::string("nbm/") + kSheetSpecs[i].file);
        std::string asGameNamesIt = path.substr(0, path.size() - 3) + "bmp";
        SheetImage image(asGameNamesIt, true);
        ASSERT_FALSE(image.Empty()) << path << ": " << image.error;
        EXPECT_EQ(image.width, 640) << path;
        EXPECT_EQ(image.height, kSheetSpecs[i].height) << path;
        EXPECT_EQ(std::filesystem::file_size(path), 8u + 640u * kSheetSpecs[i].height) << path;
    }
}

TEST(DataBuildFiles, TileAttributesLoadWithoutComplaintAndMatchTheArt) {
    const std::string path = DataFile("map/Spt.T");
    EXPECT_EQ(std::filesystem::file_size(path), kTileAttributeFileSize);
    world = WorldMap{};
    world.SptAttrStage.fill(-1);
    ASSERT_TRUE(ReadTileAttributeFile(path.c_str()));
    EXPECT_EQ(world.SptAttrStage, WorldMap::DefaultTileAttributes());
    EXPECT_EQ(world.SptAttrStage[153], kAttrExit);
    world = WorldMap{};
}

TEST(DataBuildFiles, PaletteHasBlackAndAMagentaKey) {
    Palette p{};
    std::string error;
    ASSERT_TRUE(ReadPaletteFile(DataFile("nbm/SP.PAL"), p, &error)) << error;
    EXPECT_EQ(std::filesystem::file_size(DataFile("nbm/SP.PAL")), 1024u);
    EXPECT_EQ(p[0].red + p[0].green + p[0].blue, 0);
    EXPECT_EQ(p[TransparentIndex].red, 255);
    EXPECT_EQ(p[TransparentIndex].green, 0);
    EXPECT_EQ(p[TransparentIndex].blue, 255);
    for (int i = 0; i < 256; ++i) {
        if (i == TransparentIndex) continue;
        EXPECT_FALSE(p[i].red == 255 && p[i].green == 0 && p[i].blue == 255) << "index " << i;
    }
}

TEST(DataBuildFiles, SoundsLoadAsPcmWithFittingLengths) {
    for (int i = 0; i < 19; ++i) {
        const std::string path = DataFile(std::string("sound/") + kSoundFiles[i].file);
        WaveFile wave(path);
        ASSERT_EQ(wave.loaded, 1) << path << ": " << wave.error;
        EXPECT_EQ(wave.format.formatTag, 1);
        EXPECT_EQ(wave.format.channels, 1);
        EXPECT_EQ(wave.format.bitsPerSample, 16);
        const double seconds = wave.dataSize / 2.0 / wave.format.samplesPerSec;
        const auto* s = reinterpret_cast<const int16_t*>(wave.data);
        const size_t n = wave.dataSize / 2;
        auto loudness = [&](size_t from, size_t count) {
            int peak = 0;
            for (size_t k = from; k < from + count && k < n; ++k)
                peak = std::max(peak, std::abs(int{s[k]}));
            return peak;
        };
        if (i < 15) {
            EXPECT_GT(seconds, 0.03) << path;
            EXPECT_LT(seconds, 2.0) << path;
            EXPECT_GT(loudness(0, n), 3000) << path << " is silent";
        } else {
            EXPECT_GE(seconds, 30.0) << path;
            EXPECT_LE(seconds, 60.0) << path;
            // The music plays through its loop point: no silent gap at either side.
            const size_t edge = wave.format.samplesPerSec / 20;
            EXPECT_GT(loudness(0, edge), 2000) << path;
            EXPECT_GT(loudness(n - edge, edge), 2000) << path;
        }
    }
}

TEST(DataBuildFiles, IconIsA32BitBmpWithAlpha) {
    std::vector<uint8_t> b;
    ASSERT_TRUE(ReadWholeFile(DataFile("icon.bmp"), b));
    ASSERT_EQ(b.size(), 14u + 108u + 32u * 32u * 4u);
    WordReader r(b.data() + 14, b.size() - 14);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(r.Unsigned(), 108u);  // header size
    EXPECT_EQ(r.Signed(), 32);
    EXPECT_EQ(r.Signed(), 32);
    EXPECT_EQ(b[14 + 14] | b[14 + 15] << 8, 32);  // bits per pixel
    int clear = 0, solid = 0;
    for (size_t i = 14 + 108 + 3; i < b.size(); i += 4) {
        if (b[i] == 0) ++clear;
        if (b[i] == 255) ++solid;
    }
    EXPECT_GT(clear, 50);
    EXPECT_GT(solid, 200);
}

TEST(DataBuildFiles, LogoDecodesAs320x240WithSound) {
    const test::DecodedVideo logo = test::DecodeVideo(DataFile("logo/__Logo.avi"));
    ASSERT_TRUE(logo.ok);
    EXPECT_EQ(logo.width, 320);
    EXPECT_EQ(logo.height, 240);
    EXPECT_GE(logo.seconds, 3.0);
    EXPECT_LE(logo.seconds, 6.0);
    EXPECT_GE(logo.frames, 75);
    EXPECT_EQ(logo.audioRate, 22050);
    EXPECT_EQ(logo.audioChannels, 1);
    EXPECT_GE(logo.audioSamples, 3 * 22050);
}

TEST(DataBuildFiles, GeneratorsRepeatTheBuildsBytes) {
    // The build ran the generator in another process; running the generators
    // again here must give the very same bytes.
    for (int i = 0; i < kSheetIdCount; ++i) {
        std::vector<uint8_t> file;
        ASSERT_TRUE(ReadWholeFile(DataFile(std::string("nbm/") + kSheetSpecs[i].file), file));
        const Canvas sheet = BuildSheet(static_cast<SheetId>(i));
        bool same = file.size() == 8 + sheet.Pixels().size();
        for (int y = 0; same && y < sheet.Height(); ++y)
            same = std::equal(sheet.Pixels().begin() + static_cast<long>(y) * 640,
                              sheet.Pixels().begin() + static_cast<long>(y + 1) * 640,
                              file.begin() + 8 + static_cast<long>(sheet.Height() - 1 - y) * 640);
        EXPECT_TRUE(same) << kSheetSpecs[i].file;
    }
    for (int i : {0, 9, 15}) {
        WaveFile wave(DataFile(std::string("sound/") + kSoundFiles[i].file));
        const std::vector<int16_t> samples = BuildSound(i);
        ASSERT_EQ(wave.dataSize, samples.size() * 2);
        EXPECT_EQ(0, std::memcmp(wave.data, samples.data(), wave.dataSize)) << kSoundFiles[i].file;
    }
    const std::string again = std::string(ZOA_DATA_BUILD_DIR) + "/test-logo-again.avi";
    std::string error;
    ASSERT_TRUE(WriteLogoVideo(again, &error)) << error;
    std::vector<uint8_t> a, b;
    ASSERT_TRUE(ReadWholeFile(again, a));
    ASSERT_TRUE(ReadWholeFile(DataFile("logo/__Logo.avi"), b));
    EXPECT_TRUE(a == b);
    std::filesystem::remove(again);
}

}  // namespace
}  // namespace zoa::databuild
