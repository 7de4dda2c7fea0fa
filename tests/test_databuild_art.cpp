// The pictures hold what the game reads: frames where the frame rule finds
// them, keyed transparency only where it is meant, tiles that match their
// attributes, backgrounds with no hole on any stage.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "data_set.h"
#include "files/palette_file.h"
#include "gfx/sheet_image.h"
#include "interface_layout.h"
#include "play/background.h"
#include "sim/frame_rect.h"
#include "sim/world_map.h"
#include "sprite_layout.h"
#include "tile_layout.h"

namespace zoa::databuild {
namespace {

// The sheets as the build wrote them, read through the game's loader.
const SheetImage& Sheet(SheetId id) {
    static std::unique_ptr<SheetImage> sheets[kSheetIdCount];
    if (!sheets[id]) {
        const std::string name = kSheetSpecs[id].file;
        sheets[id] = std::make_unique<SheetImage>(
            std::string(ZOA_DATA_BUILD_DIR) + "/data/nbm/" + name, true);
    }
    return *sheets[id];
}

// The palette as the build wrote it, each colour in OKLab, a perceptual space
// in which equal distances look about equally different.
struct Lab {
    double l, a, b;
};
const std::array<Lab, kPaletteSize>& LabPalette() {
    static const std::array<Lab, kPaletteSize> lab = [] {
        Palette p{};
        EXPECT_TRUE(
            ReadPaletteFile(std::string(ZOA_DATA_BUILD_DIR) + "/data/nbm/SP.PAL", p, nullptr));
        std::array<Lab, kPaletteSize> out{};
        auto linear = [](uint8_t v) {
            const double c = v / 255.0;
            return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        for (int i = 0; i < kPaletteSize; ++i) {
            const double r = linear(p[i].red), g = linear(p[i].green), b = linear(p[i].blue);
            const double l = std::cbrt(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b);
            const double m = std::cbrt(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b);
            const double s = std::cbrt(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b);
            out[i] = {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
                      1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
                      0.0259040371 * l + 0.7827717876 * m - 0.8086757660 * s};
        }
        return out;
    }();
    return lab;
}

double Distance(const Lab& x, const Lab& y) {
    return std::sqrt((x.l - y.l) * (x.l - y.l) + (x.a - y.a) * (x.a - y.a) +
                     (x.b - y.b) * (x.b - y.b));
}

int OpaqueIn(const SheetImage& s, const Rect& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += s.At(x, y) != TransparentIndex;
    return n;
}

TEST(DataBuildArt, EveryCatalogueFrameIsDrawnWhereTheGameReadsIt) {
    for (SheetId a : {kSPgi, kSPcca, kSPmca}) {
        const FramePlan plan = PlanFrames(a);
        for (const FrameSlot& s : plan.drawn) {
            const auto& layouts = SpriteLayouts();
            const SpriteLayout& l =
                *std::find_if(layouts.begin(), layouts.end(),
                              [&](const SpriteLayout& x) { return x.type == s.type; });
            const Rect r = FrameSourceRect(l.srcX, l.srcY, l.width, l.height, s.row, s.frame);
            const int area = r.Width() * r.Height();
            EXPECT_GT(OpaqueIn(Sheet(a), r), area / 100)
                << s.type << " row " << s.row << " frame " << s.frame;
            if (a != kSPgi) {  // the B sheets hold the same frame mirrored
                const SheetImage& b = Sheet(a == kSPcca ? kSPccb : kSPmcb);
                int same = 0;
                for (int y = r.top; y < r.bottom; ++y)
                    for (int x = r.left; x < r.right; ++x)
                        same += Sheet(a).At(x, y) == b.At(r.left + r.right - 1 - x, y);
                EXPECT_EQ(same, area) << s.type << " row " << s.row << " frame " << s.frame;
            }
        }
    }
    // Three enemy defeat frames cannot be drawn: two share their rectangle with
    // another enemy's walking frames and one lies below the 2000-pixel sheet.
    const FramePlan enemies = PlanFrames(kSPmca);
    ASSERT_EQ(enemies.skipped.size(), 3u);
    for (const FrameSlot& s : enemies.skipped) {
        EXPECT_EQ(s.row, 2);
        EXPECT_EQ(s.frame, 7);
    }
    EXPECT_TRUE(PlanFrames(kSPgi).skipped.empty());
    EXPECT_TRUE(PlanFrames(kSPcca).skipped.empty());
}

TEST(DataBuildArt, TheHeroFitsTheBoxesTheRulesUse) {
    const SheetImage& s = Sheet(kSPcca);
    for (int f = 0; f < 5; ++f) {  // standing frames
        const Rect r = FrameSourceRect(1, 1, 121, 105, 0, f);
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                if (s.At(x, y) == TransparentIndex) continue;
                EXPECT_TRUE(x - r.left >= 29 && x - r.left <= 94 && y - r.top >= 29)
                    << "frame " << f << " pixel " << x - r.left << "," << y - r.top;
            }
        int feet = 0;
        for (int x = r.left; x < r.right; ++x) feet += s.At(x, r.top + 103) != TransparentIndex;
        EXPECT_GT(feet, 6) << "feet on the floor line, frame " << f;
    }
    EXPECT_GT(OpaqueIn(s, kSpareLifeIcon), 1500);
}

TEST(DataBuildArt, KeyColourOnlyWhereTransparencyIsMeant) {
    for (SheetId id : {kSPl, kSPm}) EXPECT_EQ(OpaqueIn(Sheet(id), {0, 0, 640, 480}), 640 * 480);
    for (int id = kSPmi; id < kSheetIdCount; ++id) {
        const SheetImage& s = Sheet(static_cast<SheetId>(id));
        EXPECT_LT(OpaqueIn(s, {0, 0, 640, s.height}), 640 * s.height) << id;
    }
    const SheetImage& ui = Sheet(kSPmi);
    // The title's four plates, where the title draws their pictures, stand
    // with equal margins to both screen edges and equal gaps between them.
    int plateLeft[4] = {}, plateRight[4] = {};
    for (int i = 0; i < 4; ++i) {
        const Rect& r = kTitleItemPicture[i];
        int first = r.right, last = r.left - 1;
        for (int x = r.left; x < r.right; ++x)
            if (OpaqueIn(ui, {x, r.top, x + 1, r.bottom}) > r.Height() / 2) {
                first = std::min(first, x);
                last = x;
            }
        plateLeft[i] = kTitleItemAt[i].x + first - r.left;
        plateRight[i] = kTitleItemAt[i].x + last - r.left + 1;
        EXPECT_GT(OpaqueIn(ui, r), (plateRight[i] - plateLeft[i]) * r.Height() * 9 / 10) << i;
    }
    EXPECT_GT(plateLeft[0], 8);
    EXPECT_EQ(plateLeft[0], 640 - plateRight[3]);
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(plateLeft[i] - plateRight[i - 1], plateLeft[1] - plateRight[0]) << i;
        EXPECT_EQ(plateRight[i] - plateLeft[i], plateRight[0] - plateLeft[0]) << i;
    }
    for (Rect r : kPauseItemPicture) {
        EXPECT_GT(OpaqueIn(ui, r), r.Width() * r.Height() * 9 / 10);
        r.top += kPauseHighlightShift;
        r.bottom += kPauseHighlightShift;
        EXPECT_GT(OpaqueIn(ui, r), r.Width() * r.Height() * 9 / 10);
    }
    // Gauge bars are solid over all 500 columns, so any length draws cleanly.
    EXPECT_EQ(OpaqueIn(ui, kLifeBar), 500 * 17);
    EXPECT_EQ(OpaqueIn(ui, kJetBar), 500 * 17);
    for (const Rect& r :
         {kPauseCursor, kLifeLabel, kJetLabel, kStageLabel, kDemoLabel, kGameOverPicture})
        EXPECT_GT(OpaqueIn(ui, r), 40);
    for (int d = 0; d < 10; ++d) EXPECT_GT(OpaqueIn(ui, DigitCell(d)), 40) << d;
}

TEST(DataBuildArt, TilesMatchTheirDefaultAttributes) {
    const SheetImage& s = Sheet(kSPt);
    const auto attrs = WorldMap::DefaultTileAttributes();
    for (int n = 0; n < kFirstHiddenTile; ++n) {
        const int x = (n % 19) * 33 + 1, y = (n / 19) * 33 + 1;
        const int opaque = OpaqueIn(s, {x, y, x + 32, y + 32});
        if (n == 0) {
            EXPECT_EQ(opaque, 0) << "tile 0 must be fully transparent";
        } else if (attrs[n] == kAttrSolid) {
            EXPECT_GT(opaque, 32 * 32 / 2) << "solid tile " << n;
        } else {
            EXPECT_GT(opaque, 20) << "decoration " << n;
            // The pit's spikes and abyss are darkness itself, opaque by design.
            if (n != kPitSpikesTile && n != kPitAbyssTile) {
                EXPECT_LT(opaque, 32 * 32) << "decoration " << n << " has no see-through part";
            }
        }
    }
    EXPECT_EQ(attrs[kExitTile], kAttrExit);
    // Terrain fill tiles have no see-through pixel at all.
    for (int t = 0; t < kTerrainCount; ++t) {
        const int n = kTerrainRow[t] * 19 + kFill;
        const int x = (n % 19) * 33 + 1, y = (n / 19) * 33 + 1;
        EXPECT_EQ(OpaqueIn(s, {x, y, x + 32, y + 32}), 32 * 32) << "fill of set " << t;
    }
}

TEST(DataBuildArt, BackgroundLayersLeaveNoHoleOnAnyStage) {
    // Each layer scrolls by its own offset, so a row of the screen is covered
    // at every offset only if some layer covering it is opaque across the row.
    const SheetImage& s = Sheet(kSPb);
    auto rowOpaque = [&](int strip, int row) {
        const Rect& r = kBackgroundStrip[strip];
        for (int x = 0; x < 640; ++x)
            if (s.At(x, r.top + row) == TransparentIndex) return false;
        return true;
    };
    for (int level = 0; level <= 8; ++level) {
        // The strips the game's background table picks for the far, middle and near layer.
        const int far = BackgroundStrip[0].choice[level], mid = BackgroundStrip[1].choice[level],
                  near = BackgroundStrip[2].choice[level];
        const int farH = kBackgroundStrip[far].Height(), midH = kBackgroundStrip[mid].Height();
        const int nearH = kBackgroundStrip[near].Height() - 20, nearTop = 480 - nearH;
        for (int y = 0; y < 480; ++y) {
            const bool covered = (y >= nearTop && rowOpaque(near, y - nearTop)) ||
                                 (y >= 130 && y < 130 + midH && rowOpaque(mid, y - 130)) ||
                                 (y < farH && rowOpaque(far, y));
            ASSERT_TRUE(covered) << "level " << level << " screen row " << y;
        }
    }
    // And each strip repeats seamlessly: its last column runs into its first
    // no more abruptly than any two neighbouring columns inside it.
    for (int strip = 0; strip < 7; ++strip) {
        const Rect& r = kBackgroundStrip[strip];
        auto differ = [&](int a, int b) {
            int n = 0;
            for (int y = r.top; y < r.bottom; ++y) n += s.At(a, y) != s.At(b, y);
            return n;
        };
        int most = 0;
        for (int x = 0; x + 1 < 640; ++x) most = std::max(most, differ(x, x + 1));
        EXPECT_LE(differ(639, 0), most) << "strip " << strip;
    }
}

// The backgrounds never scroll vertically, so whenever the camera rises or the
// tiles leave a pit the near strip's lower part shows where a floor could be.
// It must never pass for one: it is opaque and shares not one colour with the
// top rows (edge and surface) of any terrain tile a floor is built from.
TEST(DataBuildArt, TheNearStripsLowerPartNeverLooksLikeAFloor) {
    const SheetImage& tiles = Sheet(kSPt);
    bool floorTop[256] = {};
    const TerrainPiece tops[] = {kTopLeft,        kTop,           kTopRight, kPlatformLeft,
                                 kPlatformMiddle, kPlatformRight, kBlock,    kColumnTop};
    for (int row = kTerrainRow[0]; row < kVariantFirstRow + kVariantRows; ++row) {
        if (row == 10 || row == 11) continue;  // single blocks, not terrain
        for (TerrainPiece piece : tops) {
            const int x = piece * 33 + 1, y = row * 33 + 1;
            for (int dy = 0; dy < 4; ++dy)
                for (int dx = 0; dx < 32; ++dx) floorTop[tiles.At(x + dx, y + dy)] = true;
        }
    }
    const SheetImage& s = Sheet(kSPb);
    constexpr int kLowerFrom = 104, kShownRows = 200;  // the near layer shows rows 0..199
    for (int strip = 3; strip < 7; ++strip) {
        const Rect& r = kBackgroundStrip[strip];
        int shared = 0, holes = 0;
        double lightness = 0;
        for (int y = r.top + kLowerFrom; y < r.top + kShownRows; ++y)
            for (int x = 0; x < 640; ++x) {
                const uint8_t v = s.At(x, y);
                lightness += LabPalette()[v].l;
                holes += v == TransparentIndex;
                shared += v != TransparentIndex && floorTop[v];
            }
        EXPECT_EQ(holes, 0) << "strip " << strip;
        EXPECT_EQ(shared, 0) << "strip " << strip << ": pixels in a floor's colours";
        // Under the day sky the deep is shaded water or foliage, not the
        // night's near-black (about 0.06 in lightness, with its lights).
        const bool day = strip < BackgroundStrip[2].choice[4];  // level 4 is the first evening
        if (day) {
            EXPECT_GT(lightness / (640 * (kShownRows - kLowerFrom)), 0.12) << "strip " << strip;
        }
    }
}

// Nothing behind the play may pass for something in it: every background
// pixel stays a clear step (0.05 in OKLab, about five times the smallest
// difference the eye can tell) from every colour a solid tile is drawn with.
TEST(DataBuildArt, NoBackgroundColourComesNearASolidTilesColour) {
    constexpr double kApart = 0.05;
    const SheetImage& tiles = Sheet(kSPt);
    const auto attrs = WorldMap::DefaultTileAttributes();
    std::vector<uint8_t> solid;
    for (int n = 0; n < kFirstHiddenTile; ++n) {
        if (attrs[n] != kAttrSolid) continue;
        const int x0 = (n % kTileSheetColumns) * kTileCellPitch + 1;
        const int y0 = (n / kTileSheetColumns) * kTileCellPitch + 1;
        for (int y = y0; y < y0 + kTileSize; ++y)
            for (int x = x0; x < x0 + kTileSize; ++x)
                if (tiles.At(x, y) != TransparentIndex) solid.push_back(tiles.At(x, y));
    }
    std::sort(solid.begin(), solid.end());
    solid.erase(std::unique(solid.begin(), solid.end()), solid.end());
    const auto& lab = LabPalette();
    const SheetImage& s = Sheet(kSPb);
    for (int strip = 0; strip < 7; ++strip) {
        bool checked[kPaletteSize] = {};
        const Rect& r = kBackgroundStrip[strip];
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const uint8_t v = s.At(x, y);
                if (v == TransparentIndex || checked[v]) continue;
                checked[v] = true;
                const uint8_t nearest =
                    *std::min_element(solid.begin(), solid.end(), [&](uint8_t a, uint8_t b) {
                        return Distance(lab[v], lab[a]) < Distance(lab[v], lab[b]);
                    });
                EXPECT_GE(Distance(lab[v], lab[nearest]), kApart)
                    << "strip " << strip << " colour " << int{v} << " near tile colour "
                    << int{nearest};
            }
    }
}

// Lightness and its spread over the rows [0, rows) of a strip as a layer
// shows them, opaque pixels only.
struct Look {
    double lightness, contrast;
};
Look LookOf(int strip, int rows) {
    const SheetImage& s = Sheet(kSPb);
    const auto& lab = LabPalette();
    double sum = 0, squares = 0;
    int n = 0;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < 640; ++x) {
            const uint8_t v = s.At(x, kBackgroundStrip[strip].top + y);
            if (v == TransparentIndex) continue;
            sum += lab[v].l;
            squares += lab[v].l * lab[v].l;
            ++n;
        }
    const double mean = sum / n;
    return {mean, std::sqrt(squares / n - mean * mean)};
}

// Levels 0-3 are played by day, levels 4-8 at dusk. Where the far layer
// shows above the middle one (screen rows 0-129), the evening sky is darker
// than the day sky by at least 0.15 of the way from black to white: the
// evening's far strip is also the day's far mountains, which must stay a mid
// blue under the day sky, so its upper rows cannot be night-black, but a
// step of 0.15 is still plainly a darker sky (about fifteen times the
// smallest lightness step the eye can tell). And each layer is more
// contrasted than the one behind it, as far things fade into the air: the
// far layer above the middle one, the middle layer above the near one, the
// near layer's 200 rows.
TEST(DataBuildArt, EveningSkiesAreDarkAndFarLayersFade) {
    constexpr int kMiddleTop = 130, kNearTop = 280;
    const int day = BackgroundStrip[0].choice[0], evening = BackgroundStrip[0].choice[8];
    EXPECT_LT(LookOf(evening, kMiddleTop).lightness, LookOf(day, kMiddleTop).lightness - 0.15);
    // By day the middle layer under that sky is far mountains in a mid blue
    // (at least mid lightness), not a dusky mass that turns the day to evening.
    EXPECT_GT(LookOf(BackgroundStrip[1].choice[0], kNearTop - kMiddleTop).lightness, 0.5);
    for (int level = 0; level <= 8; ++level) {
        const double far = LookOf(BackgroundStrip[0].choice[level], kMiddleTop).contrast;
        const double middle =
            LookOf(BackgroundStrip[1].choice[level], kNearTop - kMiddleTop).contrast;
        const double near = LookOf(BackgroundStrip[2].choice[level], 480 - kNearTop).contrast;
        EXPECT_LT(far, middle) << "level " << level;
        EXPECT_LT(middle, near) << "level " << level;
    }
}

}  // namespace
}  // namespace zoa::databuild
