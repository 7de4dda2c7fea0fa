#include <gtest/gtest.h>

#include <vector>

#include "gfx/display.h"
#include "gfx/sheet_image.h"
#include "platform/data_path.h"
#include "platform/headless/headless_platform.h"
#include "play/sheets.h"
#include "sim/game_state.h"
#include "test_support.h"

namespace zoa {
namespace {

TEST(SheetImage, RowsAreStoredBottomUp) {
    test::TempDir dir;
    std::vector<uint8_t> file(8 + 640 * 2000);
    file[0] = 'N';
    file[1] = 'B';
    file[2] = 64;
    file[4] = 200;
    for (size_t i = 8; i < file.size(); ++i) file[i] = static_cast<uint8_t>(i * 31 % 251);
    test::WriteBytes(dir.str() + "/big.nbm", file);
    SheetImage image(dir.str() + "/big.bmp", true);  // the extension becomes nbm
    ASSERT_FALSE(image.Empty()) << image.error;
    EXPECT_EQ(image.width, 640);
    EXPECT_EQ(image.height, 2000);
    for (int32_t y : {0, 1, 777, 1999}) {
        for (int32_t x : {0, 5, 639}) {
            EXPECT_EQ(image.At(x, y), file[8 + (1999 - y) * 640 + x]) << x << "," << y;
        }
    }
}

TEST(SheetImage, WriterAndReaderAgree) {
    test::TempDir dir;
    std::vector<uint8_t> pixels(20 * 30);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i);
    ASSERT_TRUE(WriteSheetFile(dir.str() + "/a.nbm", 20, 30, pixels.data()));
    SheetImage image(dir.str() + "/a.nbm", true);
    ASSERT_FALSE(image.Empty());
    EXPECT_EQ(image.At(3, 0), 3);
    EXPECT_EQ(image.At(1, 29), static_cast<uint8_t>(29 * 20 + 1));
    EXPECT_FALSE(WriteSheetFile(dir.str() + "/b.nbm", 25, 30, pixels.data()));
}

TEST(SheetImage, DamagedFilesAreRejectedWithoutReadingPastTheirEnd) {
    test::TempDir dir;
    platform::HeadlessPlatform screen;
    platform::SetCurrent(&screen);
    test::WriteBytes(dir.str() + "/bm.nbm", {'B', 'M', 64, 0, 48, 0, 0, 0, 1, 2, 3});
    SheetImage wrongMagic(dir.str() + "/bm.nbm", true);
    EXPECT_TRUE(wrongMagic.Empty());
    ASSERT_EQ(screen.messageBoxes().size(), 1u);
    EXPECT_EQ(screen.messageBoxes()[0], "ERROR: Bitmap File");

    std::vector<uint8_t> shortFile(8 + 640 * 480 - 1, 0);
    shortFile[0] = 'N';
    shortFile[1] = 'B';
    shortFile[2] = 64;
    shortFile[4] = 48;
    test::WriteBytes(dir.str() + "/short.nbm", shortFile);
    SheetImage truncated(dir.str() + "/short.nbm", true);
    EXPECT_TRUE(truncated.Empty());
    EXPECT_EQ(truncated.width, 0);
    EXPECT_NE(truncated.error.find("307207 bytes"), std::string::npos) << truncated.error;

    test::WriteBytes(dir.str() + "/tiny.nbm", {'N', 'B', 64});
    EXPECT_TRUE(SheetImage(dir.str() + "/tiny.nbm", true).Empty());
    EXPECT_TRUE(SheetImage(dir.str() + "/absent.nbm", true).Empty());
    EXPECT_EQ(screen.messageBoxes().size(), 1u);  // only a wrong magic shows a message
    platform::SetCurrent(nullptr);
}

class LoadSheetsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        game = GameState{};
        test::WriteFixtureSheets(dir.str());
        SetDataRoot(dir.str());
        platform::SetCurrent(&screen);
        g_display = &display;
        game.DisplayReady = 1;
    }
    void TearDown() override {
        g_display = nullptr;
        platform::SetCurrent(nullptr);
        SetDataRoot(".");
    }
    test::TempDir dir;
    platform::HeadlessPlatform screen;
    Display display{&screen};
};

TEST_F(LoadSheetsTest, SurfacesFollowTheSheetTableAndSheetsThreeToTenAreKeyed) {
    ASSERT_EQ(LoadSheets(), 1);
    const int32_t indices[] = {game.SurfaceSPl,   game.SurfaceSPm,   game.SurfaceSPmi,
                               game.SurfaceSPgi,  game.SurfaceSPcca, game.SurfaceSPccb,
                               game.SurfaceSPmca, game.SurfaceSPmcb, game.SurfaceSPt,
                               game.SurfaceSPb};
    for (int s = 0; s < kSheetCount; ++s) {
        EXPECT_EQ(indices[s], s + 1);
        EXPECT_EQ(display.IsKeyed(static_cast<uint32_t>(s + 1)), s >= 2) << s;
        const Surface* surface = display.GetSurface(static_cast<uint32_t>(s + 1));
        ASSERT_NE(surface, nullptr);
        EXPECT_EQ(surface->height, kSheets[s].height);
        EXPECT_EQ(surface->Row(17)[33], test::FixturePixel(s, 33, 17));
    }
    EXPECT_EQ(display.palette[9].red, test::FixtureColour(9).red);
    // The loading picture was shown, then both buffers end black.
    EXPECT_GE(screen.presentCount(), 4u);
    EXPECT_EQ(display.FrontBuffer()[1000], 0);
    EXPECT_EQ(display.BackBuffer()[1000], 0);
}

TEST_F(LoadSheetsTest, AMissingOrDamagedFileEndsLoading) {
    test::WriteBytes(dir.str() + "/data/nbm/SPt.nbm", {'N', 'B', 64, 0, 96, 0, 0, 0});
    EXPECT_EQ(LoadSheets(), 0);
    EXPECT_EQ(game.SurfaceSPb, 0);  // never reached
}

TEST_F(LoadSheetsTest, AShortPaletteEndsLoading) {
    test::WriteBytes(dir.str() + "/data/nbm/SP.PAL", std::vector<uint8_t>(1000, 3));
    EXPECT_EQ(LoadSheets(), 0);
}

TEST_F(LoadSheetsTest, ASheetOfTheWrongSizeEndsLoading) {
    std::vector<uint8_t> pixels(640 * 470, 1);
    WriteSheetFile(dir.str() + "/data/nbm/SPmi.nbm", 640, 470, pixels.data());
    EXPECT_EQ(LoadSheets(), 0);
}

TEST_F(LoadSheetsTest, ReactivationReloadsTheTitleInterfaceAndSpriteSheetsOnly) {
    ASSERT_EQ(LoadSheets(), 1);
    const auto spoil = [&](int32_t index) {
        Surface* s = const_cast<Surface*>(display.GetSurface(static_cast<uint32_t>(index)));
        s->Row(17)[33] = 0;
    };
    for (int32_t i = 1; i <= 10; ++i) spoil(i);
    ReloadSheets(0);
    EXPECT_EQ(game.InputActive, 0);
    EXPECT_EQ(display.GetSurface(2)->Row(17)[33], 0);
    ReloadSheets(1);
    EXPECT_EQ(game.InputActive, 1);
    for (int32_t i = 1; i <= 10; ++i) {
        const bool reloaded = i >= 2 && i <= 8;
        EXPECT_EQ(display.GetSurface(static_cast<uint32_t>(i))->Row(17)[33],
                  reloaded ? test::FixturePixel(i - 1, 33, 17) : 0)
            << i;
    }
}

TEST_F(LoadSheetsTest, ReactivationWithoutADisplayOnlyTurnsInputBackOn) {
    ASSERT_EQ(LoadSheets(), 1);
    game.DisplayReady = 0;
    game.InputActive = 0;
    const uint64_t presents = screen.presentCount();
    ReloadSheets(1);
    EXPECT_EQ(game.InputActive, 1);
    EXPECT_EQ(screen.presentCount(), presents);
}

}  // namespace
}  // namespace zoa
