// The stage compiler's overview: a whole stage drawn into one PNG from the
// generated sheets, tiles and sprites where the game would draw them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "gfx/sheet_image.h"
#include "play/sheets.h"
#include "png_reader.h"
#include "sim/frame_rect.h"
#include "sim/world_map.h"
#include "test_support.h"

namespace zoa::test {
namespace {

int RunTool(const std::string& arguments) {
    const int status =
        std::system((std::string(ZOA_STAGEC_BINARY) + " " + arguments + " 2>/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

using Picture = PngPicture;

class StageOverviewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // 20 x 15 tiles: a floor on row 14, the exit at column 15, a heart,
        // and the hero facing left (drawn from the second hero sheet).
        std::string source =
            "stage 1\nLevel = 1\nTime_Chai = 16\ntile . = 0\ntile # = 172\ntile E = 153\nmap\n";
        for (int r = 0; r < 13; ++r) source += std::string(20, '.') + "\n";
        source += "...............E....\n" + std::string(20, '#') + "\nend\n";
        source +=
            "sprite 10000 100 343 srcX=1 srcY=1 width=121 height=105 frames=5,8,8,4,4,7,6,3 "
            "sheetA=SPcca sheetB=SPccb frameDelay=4 depth=40 life=500 gauge=500 step=-1 dir=2\n"
            "sprite 1001 300 405 srcX=1 srcY=88 width=44 height=43 frames=10 sheetA=SPgi "
            "sheetB=SPgi frameDelay=3 depth=10 life=1\n";
        std::ofstream(File("s.stage")) << source;
        ASSERT_EQ(RunTool("compile " + File("s.stage") + " " + File("s.map") + " " + File("1.m")),
                  0);
    }

    std::string File(const std::string& name) const { return dir.str() + "/" + name; }

    static std::string SheetPath(int sheet) {
        std::string path = std::string(ZOA_DATA_BUILD_DIR) + "/" + kSheets[sheet].path;
        for (char& c : path) c = c == '\\' ? '/' : c;
        return path;
    }

    int Render(const std::string& png, const std::string& options = "") {
        return RunTool("render " + File("s.map") + " " + File("1.m") + " " + File(png) +
                       " --data " + ZOA_DATA_BUILD_DIR + " " + options);
    }

    // Every opaque pixel of the sheet rectangle appears at (x, y) in the picture.
    static int32_t Mismatches(const Picture& p, const SheetImage& sheet, const Rect& src, int32_t x,
                              int32_t y) {
        int32_t wrong = 0;
        for (int32_t j = 0; j < src.Height(); ++j) {
            for (int32_t i = 0; i < src.Width(); ++i) {
                const uint8_t v = sheet.At(src.left + i, src.top + j);
                if (v != 250 && p.At(x + i, y + j) != v) ++wrong;
            }
        }
        return wrong;
    }

    TempDir dir;
};

TEST_F(StageOverviewTest, DrawsTilesAndSpritesWhereTheGameDrawsThem) {
    ASSERT_EQ(Render("all.png"), 0);
    Picture p;
    ASSERT_TRUE(ReadPng(File("all.png"), p));
    ASSERT_EQ(p.width, 640);
    ASSERT_EQ(p.height, 480);
    // Tile n comes from sheet column n % 19, row n / 19, 33 pixels apart.
    SheetImage tiles(SheetPath(8), true);
    ASSERT_FALSE(tiles.Empty());
    const auto tileRect = [](int32_t n) {
        const int32_t x = (n % kTileSheetColumns) * kTileCellPitch + 1;
        const int32_t y = (n / kTileSheetColumns) * kTileCellPitch + 1;
        return Rect{x, y, x + kTileSize, y + kTileSize};
    };
    EXPECT_EQ(Mismatches(p, tiles, tileRect(153), 15 * 32, 13 * 32), 0);
    for (int32_t c : {0, 7, 19}) EXPECT_EQ(Mismatches(p, tiles, tileRect(172), c * 32, 14 * 32), 0);
    // The hero faces left: its picture comes from the second hero sheet.
    SheetImage heroLeft(SheetPath(5), true);
    ASSERT_FALSE(heroLeft.Empty());
    EXPECT_EQ(Mismatches(p, heroLeft, FrameSourceRect(1, 1, 121, 105, 0, 0), 100, 343), 0);
    SheetImage items(SheetPath(3), true);
    EXPECT_EQ(Mismatches(p, items, FrameSourceRect(1, 88, 44, 43, 0, 0), 300, 405), 0);
    // Nothing else: the sky is black.
    EXPECT_EQ(p.At(5, 5), 0);
    EXPECT_EQ(p.At(600, 200), 0);
}

TEST_F(StageOverviewTest, ShrinksAndCropsToTileColumns) {
    ASSERT_EQ(Render("all.png"), 0);
    ASSERT_EQ(Render("small.png", "--shrink 2"), 0);
    ASSERT_EQ(Render("part.png", "--columns 10:5"), 0);
    Picture all, small, part;
    ASSERT_TRUE(ReadPng(File("all.png"), all));
    ASSERT_TRUE(ReadPng(File("small.png"), small));
    ASSERT_TRUE(ReadPng(File("part.png"), part));
    ASSERT_EQ(small.width, 320);
    ASSERT_EQ(small.height, 240);
    ASSERT_EQ(part.width, 160);
    ASSERT_EQ(part.height, 480);
    int32_t wrong = 0;
    for (int32_t y = 0; y < 240; ++y) {
        for (int32_t x = 0; x < 320; ++x) wrong += small.At(x, y) != all.At(2 * x, 2 * y);
    }
    for (int32_t y = 0; y < 480; ++y) {
        for (int32_t x = 0; x < 160; ++x) wrong += part.At(x, y) != all.At(320 + x, y);
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(StageOverviewTest, RefusesMissingDataAndBadOptions) {
    EXPECT_EQ(RunTool("render " + File("s.map") + " " + File("1.m") + " " + File("x.png") +
                      " --data " + File("nowhere")),
              1);
    EXPECT_EQ(RunTool("render " + File("s.map") + " " + File("s.map") + " " + File("x.png")), 1);
    EXPECT_EQ(Render("x.png", "--shrink 0"), 2);
    EXPECT_EQ(Render("x.png", "--columns 20:1"), 1);
    EXPECT_EQ(Render("x.png", "--columns 3"), 2);
}

}  // namespace
}  // namespace zoa::test
