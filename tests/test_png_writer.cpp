// The PNG writer behind screenshots, F12 pictures and stage overviews: what it
// writes decodes to the same pixels and palette, and the game's pictures (large
// areas of few colours) come out far smaller than their raw pixels.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "files/png_writer.h"
#include "png_reader.h"
#include "test_support.h"

namespace zoa {
namespace {

TEST(PngWriter, IndexedAndRgbaPicturesDecodeToWhatWasWritten) {
    test::TempDir dir;
    const Palette palette = test::FixturePalette();
    uint32_t noise = 12345;
    auto next = [&] { return noise = noise * 1103515245u + 12345u; };
    // Odd sizes, a single pixel, and noise that deflate cannot shrink.
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{3, 2}, std::pair{641, 97}}) {
        std::vector<uint8_t> pixels(static_cast<size_t>(w) * h);
        for (uint8_t& p : pixels) p = static_cast<uint8_t>(next() >> 24);
        const std::string path = dir.str() + "/i.png";
        ASSERT_TRUE(WritePng(path, pixels.data(), w, h, palette));
        test::PngPicture png;
        ASSERT_TRUE(test::ReadPng(path, png)) << w << "x" << h;
        EXPECT_EQ(png.colourType, 3);
        EXPECT_EQ(png.width, w);
        EXPECT_EQ(png.height, h);
        EXPECT_EQ(png.pixels, pixels);
        ASSERT_EQ(png.palette.size(), 768u);
        for (int i = 0; i < 256; ++i) {
            EXPECT_EQ(png.palette[i * 3], palette[i].red) << i;
            EXPECT_EQ(png.palette[i * 3 + 2], palette[i].blue) << i;
        }

        std::vector<uint32_t> argb(pixels.size());
        for (uint32_t& p : argb) p = next();
        ASSERT_TRUE(WriteRgbaPng(path, argb.data(), w, h));
        ASSERT_TRUE(test::ReadPng(path, png));
        EXPECT_EQ(png.colourType, 6);
        ASSERT_EQ(png.pixels.size(), argb.size() * 4);
        for (size_t i = 0; i < argb.size(); ++i) {
            const uint32_t got = uint32_t{png.pixels[i * 4 + 3]} << 24 |
                                 uint32_t{png.pixels[i * 4]} << 16 |
                                 uint32_t{png.pixels[i * 4 + 1]} << 8 | png.pixels[i * 4 + 2];
            ASSERT_EQ(got, argb[i]) << i;
        }
    }
    EXPECT_FALSE(WritePng(dir.str() + "/none.png", nullptr, 0, 480, palette));
    EXPECT_FALSE(
        WritePng(dir.str() + "/no/such/folder.png", std::vector<uint8_t>(4).data(), 2, 2, palette));
}

TEST(PngWriter, AScreenOfBandsAndTilesIsStoredInAFractionOfItsPixels) {
    test::TempDir dir;
    std::vector<uint8_t> screen(640 * 480);
    for (int32_t y = 0; y < 480; ++y)
        for (int32_t x = 0; x < 640; ++x)
            screen[y * 640 + x] = static_cast<uint8_t>(y / 8 + ((x / 32 + y / 32) % 2) * 100);
    const std::string path = dir.str() + "/s.png";
    ASSERT_TRUE(WritePng(path, screen.data(), 640, 480, test::FixturePalette()));
    EXPECT_LT(test::ReadBytes(path).size(), screen.size() / 10);
    test::PngPicture png;
    ASSERT_TRUE(test::ReadPng(path, png));
    EXPECT_EQ(png.pixels, screen);
}

}  // namespace
}  // namespace zoa
