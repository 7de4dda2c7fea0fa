#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "files/palette_file.h"
#include "gfx/display.h"
#include "gfx/sheet_image.h"
#include "platform/headless/headless_platform.h"
#include "test_support.h"

namespace zoa {
namespace {

class DisplayTest : public ::testing::Test {
  protected:
    platform::HeadlessPlatform screen;
    Display display{&screen};
    test::TempDir dir;

    // A keyed or unkeyed 60 x 40 surface whose pixel (x, y) is x + y, with a
    // transparent pixel at (1, 1), filled through a real sheet image.
    uint32_t MakeSurface(bool keyed) {
        const uint32_t index = display.CreateSurface(60, 40);
        std::vector<uint8_t> pixels(60 * 40);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 60; ++x) pixels[y * 60 + x] = static_cast<uint8_t>(x + y);
        pixels[1 * 60 + 1] = TransparentIndex;
        const std::string path = dir.str() + "/s.nbm";
        EXPECT_TRUE(WriteSheetFile(path, 60, 40, pixels.data()));
        SheetImage image(path, true);
        EXPECT_EQ(display.CopySheet(index, {0, 0}, image, {0, 0, 60, 40}), 1);
        if (keyed) {
            EXPECT_EQ(display.SetColorKey(index, 250, 250), 1);
        }
        return index;
    }
    uint8_t Back(int x, int y) { return display.BackBuffer()[y * kScreenWidth + x]; }
};

TEST_F(DisplayTest, SurfacesAreNumberedFromOneAndStopAtAHundred) {
    EXPECT_EQ(display.CreateSurface(640, 10), 1u);
    for (uint32_t i = 2; i <= 100; ++i) ASSERT_EQ(display.CreateSurface(640, 10), i);
    EXPECT_EQ(display.CreateSurface(640, 10), 0u);
    EXPECT_EQ(display.SurfaceCount(), 100u);
}

TEST_F(DisplayTest, OperationsOnSurfacesThatDoNotExistFailAndTouchNothing) {
    const uint32_t index = display.CreateSurface(640, 10);
    SheetImage missing(dir.str() + "/none.nbm", true);
    EXPECT_EQ(display.Clear(index + 1), 0);
    EXPECT_EQ(display.SetColorKey(index + 1, 250, 250), 0);
    EXPECT_EQ(display.CopySheet(index + 1, {0, 0}, missing, {0, 0, 10, 10}), 0);
    EXPECT_EQ(display.Blit({0, 0}, index + 1, {0, 0, 10, 10}), 0);
    EXPECT_FALSE(display.IsKeyed(index + 1));
    // Index 0 is the back buffer.
    display.BackBuffer()[5] = 9;
    EXPECT_EQ(display.Clear(0), 1);
    EXPECT_EQ(Back(5, 0), 0);
}

TEST_F(DisplayTest, KeyedSurfacesLeaveTheBackBufferWhereTheSourceIsTransparent) {
    const uint32_t plain = MakeSurface(false);
    const uint32_t keyed = MakeSurface(true);
    std::memset(display.BackBuffer(), 7, kScreenWidth * kScreenHeight);
    ASSERT_EQ(display.Blit({100, 50}, plain, {0, 0, 4, 4}), 1);
    EXPECT_EQ(Back(101, 51), TransparentIndex);  // an unkeyed sheet copies 250 like any pixel
    EXPECT_EQ(Back(102, 53), 5);
    ASSERT_EQ(display.Blit({200, 50}, keyed, {0, 0, 40, 4}), 1);
    EXPECT_EQ(Back(201, 51), 7);
    EXPECT_EQ(Back(202, 51), 3);
    EXPECT_EQ(Back(239, 53), 42);  // the vector path and the tail agree
    EXPECT_EQ(Back(240, 53), 7);   // nothing right of the rectangle
}

TEST_F(DisplayTest, BlitsThatDoNotFitAreRefusedWhole) {
    const uint32_t index = MakeSurface(false);
    std::memset(display.BackBuffer(), 7, kScreenWidth * kScreenHeight);
    EXPECT_EQ(display.Blit({631, 0}, index, {0, 0, 10, 10}), 0);  // one pixel past the right edge
    EXPECT_EQ(display.Blit({0, 471}, index, {0, 0, 10, 10}), 0);  // one past the bottom
    EXPECT_EQ(display.Blit({-1, 0}, index, {0, 0, 10, 10}), 0);   // left of the screen
    EXPECT_EQ(display.Blit({0, 0}, index, {0, 0, 61, 10}), 0);    // outside the source
    EXPECT_EQ(display.Blit({0, 0}, index, {5, 0, 5, 10}), 0);     // no width
    EXPECT_EQ(display.Blit({0, 0}, index, {0, 9, 10, 3}), 0);     // inverted
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) ASSERT_EQ(Back(x, y), 7);
    EXPECT_EQ(display.Blit({630, 470}, index, {0, 0, 10, 10}), 1);  // exactly in the corner
}

TEST_F(DisplayTest, StretchBlitScalesAndSkipsTheKey) {
    const uint32_t index = MakeSurface(true);
    std::memset(display.BackBuffer(), 7, kScreenWidth * kScreenHeight);
    ASSERT_EQ(display.StretchBlit({10, 10, 18, 18}, index, {0, 0, 4, 4}), 1);
    EXPECT_EQ(Back(10, 10), 0);
    EXPECT_EQ(Back(12, 12), 7);  // source (1, 1) is transparent
    EXPECT_EQ(Back(13, 13), 7);
    EXPECT_EQ(Back(17, 17), 6);  // source (3, 3)
    EXPECT_EQ(display.StretchBlit({635, 0, 645, 4}, index, {0, 0, 4, 4}), 0);
}

TEST_F(DisplayTest, FlipExchangesTheBuffersAndPresents) {
    const uint64_t before = screen.presentCount();
    display.BackBuffer()[0] = 11;
    ASSERT_EQ(display.Flip(), 1);
    EXPECT_EQ(display.FrontBuffer()[0], 11);
    display.BackBuffer()[0] = 22;
    ASSERT_EQ(display.Flip(), 1);
    EXPECT_EQ(display.BackBuffer()[0], 11);  // what was on screen before the flip
    EXPECT_EQ(screen.presentCount(), before + 2);
}

TEST_F(DisplayTest, WithDrawingOffBlitsAndFlipsAnswerAsUsualButTouchNoPixel) {
    const uint32_t index = MakeSurface(false);
    std::memset(display.BackBuffer(), 7, kScreenWidth * kScreenHeight);
    const uint64_t presents = screen.presentCount();
    display.SetDrawing(false);
    EXPECT_EQ(display.Blit({0, 0}, index, {0, 0, 10, 10}), 1);
    EXPECT_EQ(display.Blit({631, 0}, index, {0, 0, 10, 10}), 0);  // still refused
    EXPECT_EQ(display.StretchBlit({0, 0, 8, 8}, index, {0, 0, 4, 4}), 1);
    EXPECT_EQ(display.Flip(), 1);
    EXPECT_EQ(screen.presentCount(), presents);
    EXPECT_EQ(Back(0, 0), 7);
    EXPECT_EQ(Back(9, 9), 7);
    display.SetDrawing(true);
    EXPECT_EQ(display.Blit({0, 0}, index, {0, 0, 10, 10}), 1);
    EXPECT_EQ(Back(9, 9), 18);
}

TEST_F(DisplayTest, PaletteChangesShowAtOnceAndLeaveTheLoadedPalette) {
    std::vector<uint8_t> file(1024, 0);
    file[0] = 0x10;
    file[1] = 0x20;
    file[2] = 0x30;
    file[4 * 250 + 2] = 0xFF;
    test::WriteBytes(dir.str() + "/SP.PAL", file);
    ASSERT_EQ(display.LoadPalette(dir.str() + "/SP.PAL"), 1);
    EXPECT_EQ(display.palette[0].red, 0x30);
    EXPECT_EQ(display.palette[0].green, 0x20);
    EXPECT_EQ(display.palette[0].blue, 0x10);
    EXPECT_EQ(display.palette[0].flags, 0);
    EXPECT_EQ(display.palette[250].red, 0xFF);

    const uint64_t before = screen.presentCount();
    Palette black{};
    ASSERT_EQ(display.SetPaletteEntries(black), 1);
    EXPECT_EQ(screen.presentCount(), before + 1);  // visible without a flip
    EXPECT_EQ(display.ScreenPalette()[0].red, 0);
    EXPECT_EQ(display.palette[0].red, 0x30);
}

TEST_F(DisplayTest, ShortOrMissingPaletteFilesAreRejected) {
    test::WriteBytes(dir.str() + "/short.PAL", std::vector<uint8_t>(1023, 1));
    std::string error;
    EXPECT_EQ(display.LoadPalette(dir.str() + "/short.PAL", &error), 0);
    EXPECT_NE(error.find("1024"), std::string::npos);
    EXPECT_EQ(display.LoadPalette(dir.str() + "/none.PAL"), 0);
    EXPECT_EQ(display.palette[0].red, 0);
}

TEST(DisplayWithoutScreen, IsNotReadyAndDrawsNothing) {
    Display display(nullptr);
    EXPECT_EQ(display.IsReady(), 0);
    EXPECT_EQ(display.Flip(), 0);
    EXPECT_EQ(display.Clear(0), 0);
}

}  // namespace
}  // namespace zoa
