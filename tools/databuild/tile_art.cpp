#include <algorithm>
#include <cmath>

#include "noise.h"
#include "painter.h"
#include "sheet_builders.h"
#include "sign_tiles.h"
#include "sim/world_map.h"
#include "tile_layout.h"

namespace zoa::databuild {

namespace {

constexpr int kT = 32;

// Noise that repeats every 32 pixels both ways, so neighbouring fill tiles meet.
float TileNoise(int x, int y, int cell, uint32_t seed) {
    const int n = kT / cell;
    const float fx = static_cast<float>(x) / cell, fy = static_cast<float>(y) / cell;
    const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
    const float tx = fx - ix, ty = fy - iy;
    auto v = [&](int i, int j) {
        return Hash01(static_cast<uint32_t>(((i % n) + n) % n),
                      static_cast<uint32_t>(((j % n) + n) % n), seed);
    };
    const float sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    const float a = v(ix, iy) + (v(ix + 1, iy) - v(ix, iy)) * sx;
    const float b = v(ix, iy + 1) + (v(ix + 1, iy + 1) - v(ix, iy + 1)) * sx;
    return a + (b - a) * sy;
}

struct TerrainLook {
    Ramp surface;  // grass, moss, sand, rim
    Ramp body;
    int texture;  // 0 soil, 1 stone blocks, 2 logs, 3 plates, 4 girder, 5 bricks
};

constexpr TerrainLook kLooks[kTerrainCount] = {
    {kGrass, kEarth, 0}, {kGrass, kStone, 1}, {kForest, kEarth, 0}, {kForest, kWood, 2},
    {kSand, kCanyon, 0}, {kSand, kCanyon, 1}, {kMetal, kNight, 3},  {kGold, kRust, 4},
    {kBrick, kBrick, 5}, {kStone, kStone, 1},
};

// Body colour of a fill pixel, by texture.
uint8_t Body(const TerrainLook& look, int x, int y, uint32_t seed) {
    const Ramp r = look.body;
    switch (look.texture) {
        case 0: {  // soil with embedded pebbles
            const float n = TileNoise(x, y, 8, seed);
            if (TileNoise(x, y, 4, seed + 9) > 0.82f) return Shade(kStone, 4);
            return Shade(r, n > 0.62f ? 4 : (n < 0.35f ? 2 : 3));
        }
        case 1: {  // stone blocks, two per tile, offset rows
            const int row = y / 16;
            const int bx = (x + (row % 2) * 8) % 16;
            const int by = y % 16;
            if (bx == 15 || by == 15) return Shade(r, 1);
            if (bx == 0 || by == 0) return Shade(r, 6);
            return Shade(r, TileNoise(x, y, 8, seed) > 0.6f ? 4 : 3);
        }
        case 2: {  // stacked logs with rings
            const int cy = (y % 16) - 8, cx = (x % 16) - 8;
            const int d = cx * cx + cy * cy;
            if (d > 56) return Shade(r, 1);
            if (d < 6) return Shade(r, 6);
            return Shade(r, (d / 12) % 2 ? 4 : 5);
        }
        case 3: {  // metal plates with rivets
            const int px = x % 16, py = y % 16;
            if (px == 15 || py == 15) return Shade(r, 1);
            if ((px == 2 || px == 13) && (py == 2 || py == 13)) return Shade(kMetal, 6);
            if (px == 0 || py == 0) return Shade(r, 5);
            return Shade(r, 3);
        }
        case 4: {  // girder lattice
            const int px = x % 16, py = y % 32;
            if (py < 3 || py > 28) return Shade(r, py < 2 ? 6 : 3);
            if (std::abs(px - (py / 2)) < 2 || std::abs(px - (15 - py / 2)) < 2) return Shade(r, 4);
            return Shade(kNight, 1);
        }
        default: {  // bricks
            const int row = y / 8;
            const int bx = (x + (row % 2) * 8) % 16;
            if (y % 8 == 7 || bx == 15) return Shade(kStone, 3);
            if (y % 8 == 0) return Shade(r, 5);
            return Shade(r, TileNoise(x, y, 8, seed) > 0.55f ? 4 : 3);
        }
    }
}

// Draws a terrain tile: body texture, then the exposed sides (outline, lit
// top-left rim, shaded bottom-right rim), and a surface cap on an exposed top.
void TerrainTile(Canvas& c, int ox, int oy, Terrain t, TerrainPiece piece, uint32_t seed,
                 bool weathered) {
    const TerrainLook& look = kLooks[t];
    bool top = false, bottom = false, left = false, right = false;
    switch (piece) {
        case kTopLeft:
            top = left = true;
            break;
        case kTop:
            top = true;
            break;
        case kTopRight:
            top = right = true;
            break;
        case kLeft:
            left = true;
            break;
        case kRight:
            right = true;
            break;
        case kBottomLeft:
            bottom = left = true;
            break;
        case kBottom:
            bottom = true;
            break;
        case kBottomRight:
            bottom = right = true;
            break;
        case kPlatformLeft:
            top = bottom = left = true;
            break;
        case kPlatformMiddle:
            top = bottom = true;
            break;
        case kPlatformRight:
            top = bottom = right = true;
            break;
        case kBlock:
            top = bottom = left = right = true;
            break;
        case kColumnTop:
            top = left = right = true;
            break;
        case kColumnMiddle:
            left = right = true;
            break;
        case kColumnBottom:
            bottom = left = right = true;
            break;
        default:
            break;
    }
    const bool cap = look.texture == 0 || look.texture == 1 ? true : look.texture != 5;
    const int capDepth = cap ? (look.texture == 3 || look.texture == 4 ? 4 : 7) : 0;
    for (int y = 0; y < kT; ++y) {
        for (int x = 0; x < kT; ++x) {
            uint8_t v = Body(look, x, y, seed);
            if (piece == kFillAlt || weathered) {
                if (TileNoise(x, y, 4, seed + 77) > 0.8f) v = Shade(look.body, 1);  // cracks
            }
            // Rims on exposed sides, a 1-pixel outline at the very edge.
            if ((left && x == 0) || (right && x == kT - 1) || (bottom && y == kT - 1) ||
                (top && y == 0)) {
                v = kOutline;
            } else if ((left && x == 1) || (top && y == 1)) {
                v = Shade(look.body, 6);
            } else if ((right && x == kT - 2) || (bottom && y == kT - 2)) {
                v = Shade(look.body, 1);
            }
            if (top && y >= 1 && y < capDepth) {  // surface cap
                const int wav = static_cast<int>(2 * TileNoise(x, 0, 8, seed + 3));
                if (y < capDepth - wav)
                    v = Shade(look.surface, y <= 2 ? 6 : (y < 4 ? 5 : 4));
                else if (y == capDepth - wav)
                    v = Shade(look.surface, 2);
                if ((left && x == 0) || (right && x == kT - 1)) v = kOutline;
            }
            if (!top && ((piece == kInnerTopLeft && x < 5 && y < 5 - x) ||
                         (piece == kInnerTopRight && x > 26 && y < x - 26))) {
                v = Shade(look.surface, 5);
            }
            c.Set(ox + x, oy + y, v);
        }
    }
    if (top && (look.surface == kGrass || look.surface == kForest)) {  // tufts over the edge
        for (int i = 0; i < 4; ++i) {
            const int x = 3 + i * 8 + static_cast<int>(Hash(i, seed) % 4);
            if ((left && x < 2) || (right && x > 29)) continue;
            c.Set(ox + x, oy + capDepth, Shade(look.surface, 4));
            c.Set(ox + x, oy + capDepth + 1, Shade(look.surface, 2));
        }
    }
}

// Solid single blocks for the scattered solid places of the upper rows.
void MiscBlock(Canvas& c, int ox, int oy, int kind, int tint) {
    const Ramp tints[4] = {kWood, kMetal, kCanyon, kTeal};
    const Ramp r = tints[tint % 4];
    Canvas t(kT, kT);
    Painter p(t);
    Material m = Mat(r, 4);
    m.bevel = 2.5f;
    switch (kind % 8) {
        case 0:  // crate
            p.Box(0.5f, 0.5f, 31.5f, 31.5f, m);
            p.Line({4, 4}, {27, 27}, Shade(r, 2));
            p.Line({4, 27}, {27, 4}, Shade(r, 2));
            p.Box(4, 4, 27.5f, 27.5f, NoOutline(Plain(r, 4)));
            p.Line({5, 5}, {26, 26}, Shade(r, 2));
            p.Line({5, 26}, {26, 5}, Shade(r, 2));
            break;
        case 1:  // riveted block
            p.Box(0.5f, 0.5f, 31.5f, 31.5f, m);
            for (int i = 0; i < 4; ++i) p.Dot(i % 2 ? 26 : 5, i / 2 ? 26 : 5, Shade(r, 7));
            break;
        case 2:  // star block
            p.Box(0.5f, 0.5f, 31.5f, 31.5f, Mat(kGold, 4));
            p.Poly({{16, 5},
                    {19, 13},
                    {27, 13},
                    {21, 18},
                    {23, 26},
                    {16, 21},
                    {9, 26},
                    {11, 18},
                    {5, 13},
                    {13, 13}},
                   Mat(r, 5));
            break;
        case 3:  // horizontal pipe
            p.Box(-2, 6, 34, 26, NoOutline(Plain(kNight, 1)));
            p.Limb({-4, 16}, {36, 16}, 10, 10, Mat(r, 4));
            p.Box(12, 4, 20, 28, Mat(r, 3));
            break;
        case 4:  // vertical pipe
            p.Limb({16, -4}, {16, 36}, 11, 11, Mat(r, 4));
            p.Box(4, 12, 28, 20, Mat(r, 3));
            break;
        case 5:  // gem ore
            p.Box(0.5f, 0.5f, 31.5f, 31.5f, Mat(kStone, 3));
            p.Poly({{10, 8}, {16, 4}, {20, 10}, {14, 15}}, Mat(kEnergy, 5));
            p.Poly({{18, 20}, {25, 17}, {27, 25}, {20, 27}}, Mat(kPink, 5));
            break;
        case 6:  // bridge planks
            for (int i = 0; i < 4; ++i) p.Box(i * 8.0f + 0.5f, 2, i * 8.0f + 7.5f, 14, m);
            p.Box(0, 14, 32, 31.5f, NoOutline(Plain(kNight, 1)));
            p.Line({0, 20}, {32, 20}, Shade(r, 3));
            break;
        default:  // cobble block
            p.Box(0.5f, 0.5f, 31.5f, 31.5f, Mat(kStone, 4));
            p.Circle(9, 9, 6, Mat(r, 4));
            p.Circle(22, 11, 7, Mat(r, 3));
            p.Circle(12, 23, 7, Mat(r, 3));
            p.Circle(24, 24, 5, Mat(r, 4));
            break;
    }
    c.Paste(t, ox, oy);
}

// Decorations over transparency.
void Decoration(Canvas& c, int ox, int oy, int kind) {
    Canvas t(kT, kT);
    Painter p(t);
    switch (kind % 24) {
        case 0:
        case 1:
        case 2: {  // grass tufts
            const Ramp r = kind % 3 == 2 ? kForest : kGrass;
            for (int i = 0; i < 5; ++i) {
                const float x = 5.0f + i * 5.5f, h = 12.0f + static_cast<float>((i * 7 + kind) % 9);
                p.Poly({{x - 2.5f, 32}, {x + (i % 2 ? 2.0f : -2.0f), 32 - h}, {x + 2.5f, 32}},
                       Mat(r, 4 + i % 2));
            }
            break;
        }
        case 3:
        case 4:
        case 5: {  // flowers
            const Ramp r = kind == 3 ? kScarf : (kind == 4 ? kGold : kViolet);
            p.Limb({16, 32}, {16, 16}, 1.2f, 1.2f, Mat(kGrass, 4));
            p.Ellipse(11, 26, 4, 2, Mat(kGrass, 4));
            for (int i = 0; i < 5; ++i) {
                const float a = static_cast<float>(i) * 1.2566f;
                p.Circle(16 + std::cos(a) * 4.5f, 12 + std::sin(a) * 4.5f, 3, Mat(r, 5));
            }
            p.Circle(16, 12, 2.5f, Mat(kGold, 6));
            break;
        }
        case 6:  // small bush
            p.Ellipse(10, 24, 9, 8, Mat(kGrass, 3));
            p.Ellipse(22, 24, 9, 8, Mat(kGrass, 3));
            p.Ellipse(16, 19, 10, 9, Mat(kGrass, 4));
            break;
        case 7:  // red mushroom
            p.Limb({16, 31}, {16, 20}, 3, 3, Mat(kCream, 5));
            p.Ellipse(16, 18, 10, 7, Mat(kScarf, 4));
            p.Circle(12, 16, 1.5f, NoOutline(Plain(kCream, 7)));
            p.Circle(19, 15, 1.5f, NoOutline(Plain(kCream, 7)));
            break;
        case 8:  // glowing mushrooms
            p.Limb({10, 31}, {10, 22}, 2, 2, Mat(kCream, 4));
            p.Ellipse(10, 21, 6, 4, Mat(kEnergy, 5));
            p.Limb({22, 31}, {22, 26}, 1.5f, 1.5f, Mat(kCream, 4));
            p.Ellipse(22, 25, 4, 3, Mat(kEnergy, 6));
            break;
        case 9:  // fern
            for (int i = 0; i < 5; ++i)
                p.Limb({16, 31}, {4.0f + i * 6, 8.0f + std::abs(2 - i) * 5.0f}, 2, 1,
                       Mat(kForest, 4));
            break;
        case 10:
        case 11:
        case 12:  // hanging vine: top, middle, end
            p.Limb({16, 0}, {14 + (kind % 2) * 4.0f, kind == 12 ? 20.0f : 32.0f}, 2, 2,
                   Mat(kForest, 4));
            p.Ellipse(11, 10, 4, 2.5f, Mat(kForest, 5));
            p.Ellipse(21, 22, 4, 2.5f, Mat(kForest, 5));
            if (kind == 12) p.Circle(15, 22, 3, Mat(kPink, 5));
            break;
        case 13:  // hanging lantern
            p.Line({16, 0}, {16, 8}, Shade(kMetal, 2));
            p.Box(10, 8, 22, 24, Mat(kMetal, 3));
            p.Box(12, 11, 20, 21, NoOutline(Plain(kFlame, 6)));
            break;
        case 14:  // small rocks
            p.Ellipse(11, 27, 8, 5, Mat(kStone, 4));
            p.Ellipse(22, 28, 6, 4, Mat(kStone, 5));
            break;
        case 15:  // dry bush
            for (int i = 0; i < 6; ++i)
                p.Line({16, 31}, {4.0f + i * 5, 14.0f + (i % 3) * 4}, Shade(kWood, 3 + i % 2));
            break;
        case 16:  // small cactus
            p.Limb({16, 31}, {16, 10}, 4, 4, Mat(kOlive, 4));
            p.Limb({16, 20}, {9, 16}, 2.5f, 2.5f, Mat(kOlive, 4));
            p.Limb({16, 17}, {23, 12}, 2.5f, 2.5f, Mat(kOlive, 4));
            break;
        case 17:  // bones
            p.Limb({6, 28}, {24, 26}, 2, 2, Mat(kCream, 5));
            p.Circle(6, 27, 2.5f, Mat(kCream, 5));
            p.Circle(24, 25, 2.5f, Mat(kCream, 5));
            p.Circle(20, 20, 5, Mat(kCream, 5));
            break;
        case 18:  // arrow sign: board and arrow point the way on, to the right
            p.Limb({12, 31}, {12, 12}, 2, 2, Mat(kWood, 3));
            p.Poly({{4, 6}, {24, 6}, {30, 12}, {24, 18}, {4, 18}}, Mat(kWood, 5));
            p.Poly({{21, 12}, {15, 9}, {15, 15}}, NoOutline(Plain(kWood, 1)));
            break;
        case 19:
        case 20:  // fence, railing
            p.Limb({0, 14}, {32, 14}, 1.8f, 1.8f, Mat(kind == 19 ? kWood : kMetal, 4));
            p.Limb({0, 24}, {32, 24}, 1.8f, 1.8f, Mat(kind == 19 ? kWood : kMetal, 4));
            p.Limb({8, 31}, {8, 8}, 2.5f, 2.5f, Mat(kind == 19 ? kWood : kMetal, 3));
            p.Limb({24, 31}, {24, 8}, 2.5f, 2.5f, Mat(kind == 19 ? kWood : kMetal, 3));
            break;
        case 21:  // warning sign
            p.Limb({16, 31}, {16, 16}, 1.8f, 1.8f, Mat(kMetal, 3));
            p.Poly({{16, 2}, {29, 20}, {3, 20}}, Mat(kGold, 5));
            p.Box(15, 8, 17, 14, NoOutline(Plain(kNight, 0)));
            p.Dot(15, 16, Shade(kNight, 0));
            p.Dot(16, 16, Shade(kNight, 0));
            break;
        case 22:  // crystal
            p.Poly({{16, 4}, {22, 16}, {18, 31}, {12, 31}, {10, 16}}, Mat(kEnergy, 5));
            p.Poly({{24, 18}, {28, 24}, {26, 31}, {21, 31}}, Mat(kPink, 5));
            break;
        default:  // steam vent
            p.Box(6, 24, 26, 31.5f, Mat(kMetal, 3));
            p.Ellipse(14, 16, 6, 5, Mat(kCream, 6));
            p.Ellipse(19, 8, 5, 4, Mat(kCream, 7));
            break;
    }
    c.Paste(t, ox, oy);
}

// The exit: a glowing portal arch standing on the floor below it.
void ExitPortal(Canvas& c, int ox, int oy) {
    Canvas t(kT, kT);
    Painter p(t);
    p.Ellipse(16, 18, 14, 16, Mat(kViolet, 3));
    p.Ellipse(16, 19, 10, 12, Mat(kEnergy, 5));
    p.Ellipse(16, 21, 6, 8, NoOutline(Plain(kCream, 7)));
    p.Box(1, 28, 31, 31.5f, Mat(kGold, 5));
    for (int i = 0; i < 4; ++i) p.Dot(6.0f + i * 7, 5.0f + (i % 2) * 4, Shade(kGold, 7));
    c.Paste(t, ox, oy);
}

// Tiles of their own for the deadly and the closed parts of a stage.
// A pit's floor row shows metal spikes over darkness, the rows below an abyss:
// both are passable, so the hero still falls out of the map, but nobody takes
// the gap for a floor. Roofs are solid tiles that look solid: a thick cloud
// deck or a leaf canopy, each a body row and an underside row that tile
// seamlessly side by side. And the stilts a forest building stands on.
enum class Special {
    kNone,
    kSpikes,
    kAbyss,
    kCloudDeck,
    kCloudUnderside,
    kCanopy,
    kCanopyUnderside,
    kLogStilt
};

Special SpecialTile(int n) {
    switch (n) {
        case kPitSpikesTile:
            return Special::kSpikes;
        case kPitAbyssTile:
            return Special::kAbyss;
        case kCloudDeckTile:
            return Special::kCloudDeck;
        case kCloudUndersideTile:
            return Special::kCloudUnderside;
        case kCanopyTile:
            return Special::kCanopy;
        case kCanopyUndersideTile:
            return Special::kCanopyUnderside;
        case kLogStiltTile:
            return Special::kLogStilt;
        default:
            return Special::kNone;
    }
}

uint8_t AbyssShade(int x, int y, int depth) {
    // Night blue fading to black with depth (0..63), dithered, a few faint specks.
    if ((x * 7 + y * 13) % 61 == 0 && depth < 48) return Shade(kNight, 2);
    return Bayer4(x, y) < depth / 4 ? kBlack : Shade(kNight, 1);
}

void PitSpikes(Canvas& c, int ox, int oy) {
    Canvas t(kT, kT);
    for (int y = 0; y < kT; ++y)
        for (int x = 0; x < kT; ++x) t.Set(x, y, AbyssShade(x, y, y));
    Painter p(t);
    for (int i = 0; i < 4; ++i) {
        const float x = 4.0f + i * 8.0f, tip = i % 2 ? 3.0f : 7.0f;
        p.Poly({{x - 4, 31.5f}, {x, tip}, {x + 4, 31.5f}}, Mat(kMetal, 4));
        p.Line({x, tip + 1}, {x, tip + 4}, Shade(kCrimson, 6));  // a red, sharp tip
    }
    for (int x = 0; x < kT; ++x) t.Set(x, kT - 1, Shade(kNight, 1));
    c.Paste(t, ox, oy);
}

void PitAbyss(Canvas& c, int ox, int oy) {
    for (int y = 0; y < kT; ++y)
        for (int x = 0; x < kT; ++x) c.Set(ox + x, oy + y, AbyssShade(x, y, kT + y));
}

// A roof body: the material's shades in soft lumps, lit from above.
void RoofBody(Canvas& t, Ramp ramp, int light, uint32_t seed) {
    for (int y = 0; y < kT; ++y)
        for (int x = 0; x < kT; ++x) {
            const float n = TileNoise(x, y, 8, seed) + 0.4f * TileNoise(x, y, 4, seed + 1);
            t.Set(x, y, Shade(ramp, light - (n > 0.9f ? 0 : (n > 0.55f ? 1 : 2))));
        }
}

// A roof's underside: lumps hanging down from the body, outlined, shaded
// darker towards their lower edge; below them the sky shows.
void RoofUnderside(Canvas& t, Ramp ramp, int light, uint32_t seed, bool leaves) {
    RoofBody(t, ramp, light, seed);
    Canvas shape(kT, kT);
    for (int x = 0; x < kT; ++x) {
        // Two lumps per tile, so the edge repeats every 32 px.
        const float u = static_cast<float>(x % 16) - 7.5f;
        int bottom = 22 + static_cast<int>(std::sqrt(std::max(0.0f, 64.0f - u * u)));
        if (leaves && x % 5 == 2) bottom += 2;  // leaf tips
        for (int y = 0; y < kT; ++y) {
            if (y > bottom)
                t.Set(x, y, TransparentIndex);
            else if (y == bottom)
                t.Set(x, y, kOutline);
            else if (y > bottom - 3)
                t.Set(x, y, Shade(ramp, light - 3));
            else if (y > bottom - 7)
                t.Set(x, y, Shade(ramp, light - 2));
        }
    }
}

void SpecialTileArt(Canvas& c, int ox, int oy, Special s) {
    Canvas t(kT, kT);
    switch (s) {
        case Special::kSpikes:
            PitSpikes(c, ox, oy);
            return;
        case Special::kAbyss:
            PitAbyss(c, ox, oy);
            return;
        case Special::kCloudDeck:
            RoofBody(t, kCream, 6, 91);
            break;
        case Special::kCloudUnderside:
            RoofUnderside(t, kCream, 6, 91, false);
            break;
        case Special::kCanopy:
            RoofBody(t, kForest, 3, 93);
            break;
        case Special::kCanopyUnderside:
            RoofUnderside(t, kForest, 3, 93, true);
            break;
        case Special::kLogStilt: {  // a dark trunk, set back in the shade
            Painter p(t);
            p.Limb({16, -2}, {16, 34}, 6, 6, Mat(kWood, 1));
            for (int y = 4; y < kT; y += 12) {  // the bark's rings
                const float fy = static_cast<float>(y);
                p.Line({12, fy}, {20, fy + 2}, kOutline);
            }
            break;
        }
        case Special::kNone:
            return;
    }
    if (s == Special::kCanopy || s == Special::kCanopyUnderside) {  // branches through the leaves
        Painter p(t);
        p.Limb({-2, 9}, {34, 13}, 1.6f, 1.6f, Mat(kWood, 2));
    }
    c.Paste(t, ox, oy);
}

}  // namespace

Canvas BuildTileSheet() {
    Canvas sheet(640, 960);
    const auto attrs = WorldMap::DefaultTileAttributes();
    int decoration = 0, misc = 0;
    for (int n = 1; n < kFirstHiddenTile; ++n) {
        const int col = n % kTileSheetColumns, row = n / kTileSheetColumns;
        const int x = col * kTileCellPitch + 1, y = row * kTileCellPitch + 1;
        if (n == kExitTile) {
            ExitPortal(sheet, x, y);
            continue;
        }
        if (const Special special = SpecialTile(n); special != Special::kNone) {
            SpecialTileArt(sheet, x, y, special);
            // The other decorations and blocks keep their looks.
            if (attrs[n] != kAttrSolid)
                ++decoration;
            else
                ++misc;
            continue;
        }
        if (IsSignTile(n)) {
            SignTile(sheet, x, y, n);
            ++decoration;  // the decorations after it keep their looks
            continue;
        }
        if (attrs[n] != kAttrSolid) {
            Decoration(sheet, x, y, decoration++);
            continue;
        }
        int terrain = -1;
        bool weathered = false;
        for (int t = 0; t < kTerrainCount; ++t)
            if (kTerrainRow[t] == row) terrain = t;
        if (row >= kVariantFirstRow && row < kVariantFirstRow + kVariantRows) {
            terrain = row - kVariantFirstRow;
            weathered = true;
        }
        if (terrain >= 0) {
            TerrainTile(sheet, x, y, static_cast<Terrain>(terrain), static_cast<TerrainPiece>(col),
                        static_cast<uint32_t>(terrain * 17 + (weathered ? 5 : 0)), weathered);
        } else {
            MiscBlock(sheet, x, y, misc, misc / 8);
            ++misc;
        }
    }
    return sheet;
}

}  // namespace zoa::databuild
