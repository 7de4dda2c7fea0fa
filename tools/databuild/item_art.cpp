#include "item_art.h"

#include <cmath>

#include "painter.h"
#include "pixel_font.h"

namespace zoa::databuild {

namespace {

constexpr float kPi = 3.14159265f;

float Wave(int frame, int frames) {
    return std::sin(static_cast<float>(frame) / static_cast<float>(frames) * 2 * kPi);
}

// A four-point glint of radius r.
void Glint(Painter& p, float x, float y, float r, uint8_t c) {
    p.Line({x - r, y}, {x + r, y}, c);
    p.Line({x, y - r}, {x, y + r}, c);
    p.Dot(x, y, kWhite);
}

// A glint that travels around a pick-up over its ten frames.
void PickupGlint(Painter& p, float cx, float cy, float rx, float ry, int frame) {
    const float a = static_cast<float>(frame) / 10.0f * 2 * kPi;
    Glint(p, cx + std::cos(a) * rx, cy + std::sin(a) * ry, 2.5f + static_cast<float>(frame % 3),
          Shade(kGold, 7));
}

void Heart(Painter& p, float cx, float cy, float s, const Material& m) {
    p.Poly({{cx, cy + s * 0.95f},
            {cx - s, cy - s * 0.05f},
            {cx - s * 0.95f, cy - s * 0.5f},
            {cx - s * 0.55f, cy - s * 0.85f},
            {cx, cy - s * 0.45f},
            {cx + s * 0.55f, cy - s * 0.85f},
            {cx + s * 0.95f, cy - s * 0.5f},
            {cx + s, cy - s * 0.05f}},
           m);
    p.Circle(cx - s * 0.45f, cy - s * 0.45f, s * 0.14f, NoOutline(Plain(m.ramp, 7)));
}

// Pick-ups -------------------------------------------------------------------

void LifeJar(Painter& p, int frame) {  // 1000: a jar of life, +100
    const float bob = 2 * Wave(frame, 10);
    p.Box(14, 14 + bob, 43, 22 + bob, Mat(kWood, 4));
    p.Ellipse(28.5f, 52 + bob, 22, 28, Mat(kCream, 5));
    p.Ellipse(28.5f, 58 + bob, 17, 20, NoOutline(Mat(kScarf, 4)));
    Heart(p, 28.5f, 56 + bob, 10, Mat(kCrimson, 5));
    p.Ellipse(18, 42 + bob, 3, 7, NoOutline(Plain(kCream, 7)));
    PickupGlint(p, 28.5f, 52 + bob, 20, 26, frame);
}

void SmallHeart(Painter& p, int frame) {  // 1001: +50
    const float bob = 1.5f * Wave(frame, 10);
    const float s = 14 + (frame % 5 == 0 ? 1.5f : 0.0f);  // a heartbeat
    Heart(p, 22, 23 + bob, s, Mat(kScarf, 4));
    PickupGlint(p, 22, 21 + bob, 15, 12, frame);
}

void FuelCell(Painter& p, int frame) {  // 1002: jet fuel, +150 gauge
    const float bob = 2 * Wave(frame, 10);
    p.Box(10, 18 + bob, 108, 52 + bob, Mat(kMetal, 4));
    p.Box(108, 26 + bob, 116, 44 + bob, Mat(kMetal, 2));
    p.Box(18, 24 + bob, 100, 46 + bob, Mat(kNight, 1));
    const int lit = 2 + frame % 5;
    for (int i = 0; i < 6; ++i)
        p.Box(22.0f + i * 13, 27 + bob, 32.0f + i * 13, 43 + bob,
              i < lit ? Mat(kEnergy, 5) : Mat(kNight, 3));
    p.Box(52, 8 + bob, 66, 18 + bob, Mat(kGold, 4));
    p.Dot(14, 21 + bob, kWhite);
    PickupGlint(p, 62, 35 + bob, 52, 18, frame);
}

void Mushroom(Painter& p, int frame) {  // 1003: a life mushroom, +100
    const float bob = 1.5f * Wave(frame, 10);
    p.Limb({25, 70 + bob}, {26, 45 + bob}, 10, 8, Mat(kCream, 4));
    p.Ellipse(25.5f, 36 + bob, 23, 18, Mat(kScarf, 4));
    p.Circle(16, 30 + bob, 4.5f, NoOutline(Plain(kCream, 7)));
    p.Circle(31, 25 + bob, 3.5f, NoOutline(Plain(kCream, 7)));
    p.Circle(36, 38 + bob, 3.0f, NoOutline(Plain(kCream, 7)));
    p.Dot(22, 58 + bob, kOutline);
    p.Dot(29, 58 + bob, kOutline);
    PickupGlint(p, 25, 45 + bob, 20, 28, frame);
}

void GoldHeart(Painter& p) {  // 1014: a gem heart, +300
    Heart(p, 18, 18, 15, Mat(kGold, 5));
    Heart(p, 18, 18, 8, NoOutline(Mat(kFlame, 6)));
    Glint(p, 27, 7, 3, kWhite);
}

void ExtraLife(Painter& p, int frame) {  // 1015: an extra life, the hero's helmet
    const float bob = 2 * Wave(frame, 10);
    p.Ellipse(60, 94, 26, 5, NoOutline(Plain(kNight, 2)));
    p.Circle(60, 50 + bob, 30, Mat(kSuit, 4));
    p.Ellipse(68, 58 + bob, 19, 18, Mat(kSkin, 4));
    p.Limb({38, 32 + bob}, {76, 32 + bob}, 6, 7, Mat(kEnergy, 4));
    p.Box(72, 50 + bob, 76, 60 + bob, NoOutline(Plain(kNight, 0)));
    p.Dot(74, 51 + bob, kWhite);
    p.Line({70, 68 + bob}, {78, 67 + bob}, Shade(kSkin, 1));
    // "1UP" badge.
    p.Ellipse(30, 80 + bob, 17, 10, Mat(kGold, 5));
    DrawPlainText(p.Target(), 20, static_cast<int>(77 + bob), "1UP", Shade(kCrimson, 2));
    PickupGlint(p, 60, 50 + bob, 36, 36, frame);
}

// Pads -------------------------------------------------------------------------

void SpringPad(Painter& p, int frame) {  // 1007: top plate on rows 4..12, feet on the bottom
    const float top = frame == 1 ? 18.0f : (frame == 2 ? 0.0f : 6.0f);
    p.Box(4, 70, 44, 80, Mat(kMetal, 3));
    const int coils = 6;
    for (int i = coils - 1; i >= 0; --i) {
        const float y = 68 - (68 - top - 8) * static_cast<float>(i) / coils;
        p.Ellipse(24, y, 14, 3.5f, Mat(kMetal, 5));
    }
    p.Box(3, top, 45, top + 8, Mat(kScarf, 4));
    p.Box(8, top + 2, 40, top + 4, NoOutline(Plain(kCream, 7)));
}

void JumpPad(Painter& p, int type, int frame) {  // 1008..1012: top on rows 4..8
    const Ramp ramps[5] = {kGrass, kTeal, kCanyon, kEnergy, kScarf};
    const Ramp r = ramps[type - 1008];
    const float press = frame == 1 ? 5.0f : 0.0f;
    p.Poly({{6, 64}, {53, 64}, {47, 22}, {12, 22}}, Mat(kMetal, 3));
    p.Box(10, 40, 49, 46, NoOutline(Plain(kMetal, 1)));
    p.Ellipse(29.5f, 8 + press, 27, 7, Mat(r, 4));
    p.Ellipse(29.5f, 7 + press, 18, 3.5f, NoOutline(Plain(r, 6)));
    p.Limb({12, 14 + press}, {14, 22}, 2, 2, Mat(kMetal, 5));
    p.Limb({47, 14 + press}, {45, 22}, 2, 2, Mat(kMetal, 5));
    // Arrow showing the launch; lit on the launch frame.
    const int lit = frame == 2 ? 7 : 4;
    p.Poly({{29.5f, 26}, {38, 36}, {33, 36}, {33, 58}, {26, 58}, {26, 36}, {21, 36}},
           Mat(kGold, lit));
}

// Shots and effects ----------------------------------------------------------------

void EnergyBall(Painter& p, float cx, float cy, float r, Ramp ramp) {
    p.Circle(cx, cy, r, Mat(ramp, 5));
    p.Circle(cx - r * 0.3f, cy - r * 0.3f, r * 0.4f, NoOutline(Plain(kCream, 7)));
}

void Burst(Painter& p, float cx, float cy, float radius, int frame, int frames, Ramp hot,
           Ramp cool) {
    const float t = static_cast<float>(frame) / static_cast<float>(frames - 1);  // 0..1
    const float r = radius * (0.35f + 0.65f * t);
    const int n = 8;
    for (int i = 0; i < n; ++i) {  // flying debris
        const float a = static_cast<float>(i) / n * 2 * kPi + 0.3f;
        const float d = r * (0.8f + 0.25f * static_cast<float>(i % 2));
        p.Circle(cx + std::cos(a) * d, cy + std::sin(a) * d, 2.5f + 2.0f * (1 - t), Mat(cool, 5));
    }
    if (t < 0.85f) {
        p.Circle(cx, cy, r * (1 - 0.5f * t), Mat(hot, 5 - static_cast<int>(t * 3)));
        p.Circle(cx, cy, r * (0.6f - 0.5f * t), NoOutline(Plain(kCream, 7)));
    } else {
        p.Circle(cx, cy, r * 0.4f, Mat(kStone, 4));
    }
}

void Flame(Painter& p, int frame) {  // 106
    const float f = static_cast<float>(frame);
    const float flick = std::sin(f * 2.3f) * 2;
    p.Ellipse(16.5f, 19, 13 + flick * 0.5f, 11, Mat(kFire, 5));
    p.Poly({{6, 17}, {11, 2 + flick}, {16, 12}}, Mat(kFire, 5));
    p.Poly({{15, 12}, {21, 4 - flick}, {25, 14}}, Mat(kFire, 5));
    p.Ellipse(16.5f, 21, 8, 7, NoOutline(Plain(kFlame, 6)));
    p.Ellipse(16.5f, 23, 4, 3.5f, NoOutline(Plain(kCream, 7)));
}

void Shell(Painter& p, int frame) {  // 103: the lobber's spinning shell
    p.Circle(16.5f, 16, 11, Mat(kOlive, 4));
    const float a = static_cast<float>(frame) / 6.0f * 2 * kPi;
    const Vec2 d{std::cos(a), std::sin(a)};
    p.Limb({16.5f - d.x * 10, 16 - d.y * 10}, {16.5f + d.x * 10, 16 + d.y * 10}, 2, 2,
           NoOutline(Plain(kRust, 3)));
    const Vec2 fuse{16.5f - d.y * 12, 16 + d.x * 12};
    p.Circle(fuse.x, fuse.y, 3, Mat(kFlame, 6));
}

void Bomb(Painter& p, int frame) {  // 104: falling bomb (0, 1) or flying energy bomb (2..4)
    if (frame < 2) {
        p.Poly({{9, 3}, {22, 3}, {18, 10}, {13, 10}}, Mat(kMetal, 3));
        p.Circle(15.5f, 17, 10, Mat(kNight, 3));
        p.Circle(12, 13, 3, NoOutline(Plain(kNight, 6)));
        p.Dot(15, 27, frame ? Shade(kFlame, 7) : Shade(kFire, 5));
    } else {
        const float spin = static_cast<float>(frame - 2);
        p.Circle(15.5f, 15, 11, Mat(kFire, 4));
        p.Circle(15.5f, 15, 7, NoOutline(Plain(kFlame, 6)));
        Glint(p, 10 + spin * 5, 9 + spin * 2, 3, kWhite);
    }
}

void Sparkle(Painter& p, int frame) {  // 1013: sparkles rising from a taken pick-up
    const float t = static_cast<float>(frame) / 5.0f;
    for (int i = 0; i < 7; ++i) {
        const float a = static_cast<float>(i) / 7 * 2 * kPi + t;
        const float d = 10 + 32 * t;
        const float r = 6 * (1 - t) + 2;
        const float x = 48 + std::cos(a) * d, y = 52 + std::sin(a) * d * 0.8f - 10 * t;
        p.Poly({{x, y - r * 1.6f},
                {x + r * 0.5f, y - r * 0.5f},
                {x + r * 1.6f, y},
                {x + r * 0.5f, y + r * 0.5f},
                {x, y + r * 1.6f},
                {x - r * 0.5f, y + r * 0.5f},
                {x - r * 1.6f, y},
                {x - r * 0.5f, y - r * 0.5f}},
               Mat(i % 2 ? kGold : kEnergy, 6));
    }
}

// Scenery ----------------------------------------------------------------------

void Canopy(Painter& p, float cx, float cy, float rx, float ry, Ramp ramp, int seed) {
    const int n = 9;
    for (int i = 0; i < n; ++i) {  // back clumps darker, front clumps lighter
        const float a = static_cast<float>((i * 7 + seed) % n) / n * 2 * kPi;
        const float x = cx + std::cos(a) * rx * 0.55f, y = cy + std::sin(a) * ry * 0.5f;
        p.Ellipse(x, y, rx * 0.48f, ry * 0.45f, Mat(ramp, y < cy ? 4 : 3));
    }
    p.Ellipse(cx - rx * 0.1f, cy - ry * 0.1f, rx * 0.55f, ry * 0.5f, Mat(ramp, 5));
}

void BigTree(Painter& p) {  // 1004: green hills
    p.Limb({83, 262}, {82, 150}, 15, 10, Mat(kWood, 4));
    p.Limb({82, 180}, {50, 140}, 6, 4, Mat(kWood, 4));
    p.Limb({84, 170}, {118, 135}, 6, 4, Mat(kWood, 4));
    p.Ellipse(83, 260, 30, 5, Mat(kWood, 3));
    Canopy(p, 83, 90, 78, 80, kGrass, 1);
    for (int i = 0; i < 5; ++i) p.Circle(45.0f + i * 19, 70.0f + (i % 2) * 30, 3, Mat(kScarf, 5));
}

void DuskTree(Painter& p) {  // 1005: dusk forest, a dark pine with lanterns
    p.Limb({78, 216}, {78, 40}, 9, 5, Mat(kWood, 2));
    for (int i = 0; i < 5; ++i) {
        const float y = 30.0f + i * 34, w = 22.0f + i * 13;
        p.Poly({{78, y - 20}, {78 + w, y + 30}, {78 - w, y + 30}}, Mat(kForest, 3 + (i % 2)));
    }
    p.Circle(52, 170, 5, Mat(kFlame, 6));
    p.Circle(108, 130, 5, Mat(kFlame, 6));
}

void Cactus(Painter& p) {  // 1006: desert canyon
    p.Limb({71, 182}, {71, 30}, 16, 14, Mat(kOlive, 4));
    p.Limb({55, 110}, {36, 110}, 8, 8, Mat(kOlive, 4));
    p.Limb({36, 110}, {36, 70}, 8, 8, Mat(kOlive, 4));
    p.Limb({87, 90}, {106, 90}, 8, 8, Mat(kOlive, 4));
    p.Limb({106, 90}, {106, 50}, 8, 8, Mat(kOlive, 4));
    for (int i = 0; i < 8; ++i) p.Dot(66.0f + (i % 2) * 9, 45.0f + i * 17, Shade(kCream, 6));
    p.Circle(71, 22, 6, Mat(kPink, 5));
    p.Ellipse(71, 182, 34, 4, Mat(kSand, 3));
}

void Boulder(Painter& p) {  // 1016: green hills
    p.Ellipse(65, 100, 58, 38, Mat(kStone, 4));
    p.Ellipse(40, 92, 26, 24, Mat(kStone, 5));
    for (int i = 0; i < 9; ++i)
        p.Poly(
            {{10.0f + i * 13, 138}, {16.0f + i * 13, 118 + (i % 3) * 4.0f}, {22.0f + i * 13, 138}},
            Mat(kGrass, 4));
}

void GiantMushroom(Painter& p) {  // 1017: dusk forest
    p.Limb({70, 140}, {72, 70}, 13, 10, Mat(kCream, 4));
    p.Ellipse(70, 58, 66, 30, Mat(kViolet, 4));
    for (int i = 0; i < 6; ++i)
        p.Circle(24.0f + i * 18, 52.0f + (i % 2) * 10, 4.5f, NoOutline(Plain(kEnergy, 6)));
}

// Pointed, and in the rose of the sunset's spires rather than the sand and
// canyon colours of the floors: scenery the hero walks past, so nothing about
// it may say ledge.
void RockSpire(Painter& p) {  // 1018: desert canyon
    p.Poly({{8, 144}, {20, 64}, {34, 34}, {48, 4}, {60, 28}, {78, 60}, {96, 144}},
           Mat(kCrimson, 4));
    for (int i = 1; i < 5; ++i)
        p.Line({20.0f + i * 2, 36.0f + i * 24}, {80.0f - i * 2, 40.0f + i * 24},
               Shade(kCrimson, 2));
}

void StreetLamp(Painter& p) {  // 1019: night city
    p.Box(34, 126, 54, 136, Mat(kMetal, 3));
    p.Limb({44, 128}, {44, 24}, 4, 3, Mat(kMetal, 3));
    p.Limb({44, 24}, {66, 18}, 3, 3, Mat(kMetal, 3));
    p.Poly({{56, 18}, {78, 18}, {74, 28}, {60, 28}}, Mat(kMetal, 2));
    p.Ellipse(67, 31, 9, 4, Mat(kGold, 6));
    p.Ellipse(67, 31, 4, 2, NoOutline(Plain(kCream, 7)));
}

void RadioMast(Painter& p) {  // 1020: night city
    p.Box(20, 110, 86, 135, Mat(kMetal, 3));
    p.Box(28, 116, 50, 128, Mat(kNight, 2));
    p.Box(30, 118, 48, 126, NoOutline(Plain(kEnergy, 5)));
    p.Poly({{40, 110}, {53, 10}, {66, 110}}, Mat(kMetal, 4));
    for (int i = 0; i < 6; ++i)
        p.Line({44.0f + i * 1.2f, 100.0f - i * 15}, {62.0f - i * 1.2f, 90.0f - i * 15},
               Shade(kMetal, 1));
    p.Circle(53, 8, 4, Mat(kFire, 6));
}

}  // namespace

void DrawItemFrame(int32_t type, int32_t frame, Canvas& c) {
    Painter p(c);
    switch (type) {
        case 100:
            EnergyBall(p, 8, 8, 6, kEnergy);
            break;
        case 101:
            Glint(p, 8.5f, 8, 2.0f + 2.5f * static_cast<float>(frame), Shade(kEnergy, 6));
            p.Circle(8.5f, 8, 2.5f, NoOutline(Plain(kCream, 7)));
            break;
        case 102:
            Burst(p, 50.5f, 44, 40, frame, 6, kEnergy, kEnergy);
            break;
        case 103:
            Shell(p, frame);
            break;
        case 104:
            Bomb(p, frame);
            break;
        case 105:
            Burst(p, 16.5f, 16.5f, 14, frame, 10, kFire, kFlame);
            break;
        case 106:
            Flame(p, frame);
            break;
        case 107:
            EnergyBall(p, 8, 8, 6, kPink);
            break;
        case 1000:
            LifeJar(p, frame);
            break;
        case 1001:
            SmallHeart(p, frame);
            break;
        case 1002:
            FuelCell(p, frame);
            break;
        case 1003:
            Mushroom(p, frame);
            break;
        case 1004:
            BigTree(p);
            break;
        case 1005:
            DuskTree(p);
            break;
        case 1006:
            Cactus(p);
            break;
        case 1007:
            SpringPad(p, frame);
            break;
        case 1008:
        case 1009:
        case 1010:
        case 1011:
        case 1012:
            JumpPad(p, type, frame);
            break;
        case 1013:
            Sparkle(p, frame);
            break;
        case 1014:
            GoldHeart(p);
            break;
        case 1015:
            ExtraLife(p, frame);
            break;
        case 1016:
            Boulder(p);
            break;
        case 1017:
            GiantMushroom(p);
            break;
        case 1018:
            RockSpire(p);
            break;
        case 1019:
            StreetLamp(p);
            break;
        case 1020:
            RadioMast(p);
            break;
        default:
            break;
    }
}

}  // namespace zoa::databuild
