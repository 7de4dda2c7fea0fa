#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "files/read_buffer.h"
#include "gfx/sheet_image.h"
#include "sound/wave_file.h"
#include "test_support.h"

// Loading reads file after file into one reused buffer and puts pictures and
// sounds in arena memory; none of that may change what is loaded.

namespace zoa {
namespace {

TEST(ReadBuffer, SheetsAndSoundsReadThroughItMatchTheirOwnReads) {
    test::TempDir dir;
    test::WriteFixtureSheets(dir.str());
    const std::string tiles = dir.str() + "/data/nbm/SPt.nbm";
    const std::string loading = dir.str() + "/data/nbm/SPl.nbm";
    std::vector<int16_t> samples(30000);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(i * 97);
    ASSERT_TRUE(WriteWaveFile16(dir.str() + "/music.wav", 22050, 1, samples));
    test::WriteBytes(dir.str() + "/short.nbm", {'N', 'B', 64, 0, 48, 0, 0, 0, 1, 2});

    files::ReadBuffer buffer;
    {
        const SheetImage own(tiles, true);
        const SheetImage shared(tiles, true, buffer);
        ASSERT_FALSE(own.Empty());
        ASSERT_FALSE(shared.Empty());
        EXPECT_EQ(shared.width, own.width);
        EXPECT_EQ(shared.height, own.height);
        EXPECT_EQ(0, std::memcmp(shared.pixels, own.pixels, size_t(own.width) * own.height));
    }
    {
        const WaveFile own(dir.str() + "/music.wav");
        const WaveFile shared(dir.str() + "/music.wav", buffer);
        ASSERT_EQ(shared.loaded, 1);
        EXPECT_EQ(shared.dataSize, own.dataSize);
        EXPECT_EQ(shared.format.samplesPerSec, 22050u);
        EXPECT_EQ(0, std::memcmp(shared.data, own.data, own.dataSize));
    }
    {
        // A smaller sheet after the sound: nothing of the sound shows through.
        const SheetImage own(loading, true);
        const SheetImage shared(loading, true, buffer);
        ASSERT_FALSE(shared.Empty());
        EXPECT_EQ(0, std::memcmp(shared.pixels, own.pixels, size_t(own.width) * own.height));
    }
    const SheetImage rejected(dir.str() + "/short.nbm", true, buffer);
    EXPECT_TRUE(rejected.Empty());
    EXPECT_EQ(rejected.error, SheetImage(dir.str() + "/short.nbm", true).error);
    const WaveFile missing(dir.str() + "/none.wav", buffer);
    EXPECT_EQ(missing.loaded, 0);
    EXPECT_NE(missing.error.find("cannot open"), std::string::npos);
}

}  // namespace
}  // namespace zoa
