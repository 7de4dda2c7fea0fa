#pragma once
#include <cstdint>

#include "files/palette.h"

namespace zoa::databuild {

// The one palette every sheet is drawn with. Index 0 is black (the clear
// colour), 1 the dark outline colour, 2..15 a grey ramp, then 29 ramps of
// eight shades each (0 darkest .. 7 lightest), a few spare colours, the
// transparent key 250 (loud magenta, never painted visibly on keyed sheets)
// and the interface accents 251..255.
enum Ramp : uint8_t {
    kSkin,
    kSuit,
    kScarf,
    kGold,
    kMetal,
    kGrass,
    kForest,
    kEarth,
    kSand,
    kCanyon,
    kSky,
    kDusk,
    kFire,
    kFlame,
    kEnergy,
    kPink,
    kViolet,
    kLime,
    kNight,
    kBrick,
    kStone,
    kWood,
    kTeal,
    kRust,
    kHaze,
    kTwilight,  // backgrounds only: 0 the night's deep, 1-2 the day's, 3-6 far haze, 7 snow
    kCream,
    kOlive,
    kCrimson,
    kRampCount
};

constexpr uint8_t kBlack = 0;
constexpr uint8_t kOutline = 1;
constexpr uint8_t kGreyFirst = 2;  // 2..15, dark to white
constexpr uint8_t kWhite = 15;
constexpr uint8_t kFirstRampIndex = 16;
constexpr int kRampShades = 8;
constexpr uint8_t kUiWhite = 251;
constexpr uint8_t kUiGold = 252;
constexpr uint8_t kUiNavy = 253;
constexpr uint8_t kUiRed = 254;
constexpr uint8_t kUiCyan = 255;

// Palette index of shade `level` (clamped to 0..7) of a ramp.
constexpr uint8_t Shade(Ramp ramp, int level) {
    if (level < 0) level = 0;
    if (level > kRampShades - 1) level = kRampShades - 1;
    return static_cast<uint8_t>(kFirstRampIndex + ramp * kRampShades + level);
}

// Grey 0 (darkest) .. 13 (white).
constexpr uint8_t Grey(int level) {
    if (level < 0) level = 0;
    if (level > 13) level = 13;
    return static_cast<uint8_t>(kGreyFirst + level);
}

const Palette& GamePalette();

}  // namespace zoa::databuild
