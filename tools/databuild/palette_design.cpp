#include "palette_design.h"

namespace zoa::databuild {

namespace {

struct Rgb {
    int r, g, b;
};

// Each ramp is given by its darkest, middle (shade 4) and lightest colours;
// the shades between are interpolated. Shadows lean cool, highlights warm.
struct RampAnchors {
    Rgb dark, mid, light;
};

constexpr RampAnchors kAnchors[kRampCount] = {
    {{92, 40, 40}, {232, 160, 120}, {255, 232, 200}},    // skin
    {{16, 24, 88}, {40, 96, 216}, {168, 216, 255}},      // suit blue
    {{72, 8, 24}, {216, 40, 40}, {255, 184, 136}},       // scarf red
    {{96, 48, 8}, {240, 176, 24}, {255, 248, 176}},      // gold
    {{28, 32, 48}, {120, 136, 160}, {232, 240, 248}},    // metal
    {{16, 56, 24}, {72, 168, 48}, {208, 248, 120}},      // grass
    {{8, 32, 40}, {32, 112, 88}, {144, 216, 152}},       // forest
    {{48, 24, 16}, {144, 88, 48}, {232, 192, 128}},      // earth
    {{96, 56, 32}, {216, 168, 96}, {255, 240, 192}},     // sand
    {{72, 24, 24}, {192, 88, 48}, {255, 184, 120}},      // canyon
    {{60, 116, 210}, {120, 176, 246}, {192, 226, 255}},  // sky
    {{32, 16, 56}, {112, 64, 144}, {224, 176, 232}},     // dusk
    {{80, 8, 8}, {232, 64, 24}, {255, 200, 96}},         // fire
    {{136, 40, 0}, {255, 168, 16}, {255, 255, 200}},     // flame
    {{8, 48, 88}, {24, 192, 232}, {216, 255, 255}},      // energy
    {{72, 8, 56}, {224, 72, 160}, {255, 208, 232}},      // pink
    {{32, 8, 72}, {128, 64, 208}, {224, 192, 255}},      // violet
    {{24, 56, 8}, {136, 216, 24}, {240, 255, 160}},      // lime
    {{8, 8, 32}, {40, 48, 104}, {128, 144, 208}},        // night
    {{64, 16, 16}, {168, 72, 48}, {240, 168, 120}},      // brick
    {{40, 36, 40}, {124, 116, 112}, {224, 216, 200}},    // stone
    {{56, 28, 16}, {152, 96, 48}, {240, 200, 136}},      // wood
    {{8, 48, 56}, {24, 144, 144}, {176, 240, 224}},      // teal
    {{64, 24, 8}, {176, 96, 40}, {248, 192, 120}},       // rust
    {{136, 80, 120}, {248, 168, 136}, {255, 240, 208}},  // haze
    {{0, 0, 2}, {78, 132, 177}, {201, 225, 249}},        // twilight: see kTwilightShades
    {{120, 104, 96}, {216, 208, 192}, {255, 255, 248}},  // cream
    {{40, 48, 16}, {120, 136, 48}, {216, 224, 136}},     // olive
    {{48, 0, 16}, {160, 16, 48}, {248, 120, 144}},       // crimson
};

// The twilight ramp belongs to the backgrounds alone and is picked shade by
// shade, not interpolated: its far blues must keep a clear step from the metal
// and night ramps of the city's solid tiles on both sides, and its dark greens
// from the forest ramp's moss, which no straight blend between anchors does.
constexpr Rgb kTwilightShades[kRampShades] = {
    {0, 0, 2},                                          // the night's deep, and background outlines
    {4, 26, 10},     {2, 20, 8},                        // the day's deep: shaded water and foliage
    {63, 99, 135},   {78, 132, 177},                    // far blue haze, crest to foot
    {114, 153, 192}, {165, 189, 216}, {201, 225, 249},  // snow on the far peaks
};

int Mix(int a, int b, int t, int n) {
    return a + (b - a) * t / n;
}

Palette Design() {
    Palette p{};
    auto set = [&p](int i, int r, int g, int b) {
        p[i].red = static_cast<uint8_t>(r);
        p[i].green = static_cast<uint8_t>(g);
        p[i].blue = static_cast<uint8_t>(b);
        p[i].flags = 0;
    };
    set(kBlack, 0, 0, 0);
    set(kOutline, 24, 16, 32);
    for (int i = 0; i < 14; ++i) {
        const int v = 20 + i * 235 / 13;
        set(kGreyFirst + i, v, v, v + (13 - i) / 3);
    }
    for (int r = 0; r < kRampCount; ++r) {
        const RampAnchors& a = kAnchors[r];
        for (int s = 0; s < kRampShades; ++s) {
            Rgb c = s <= 4
                        ? Rgb{Mix(a.dark.r, a.mid.r, s, 4), Mix(a.dark.g, a.mid.g, s, 4),
                              Mix(a.dark.b, a.mid.b, s, 4)}
                        : Rgb{Mix(a.mid.r, a.light.r, s - 4, 3), Mix(a.mid.g, a.light.g, s - 4, 3),
                              Mix(a.mid.b, a.light.b, s - 4, 3)};
            if (r == kTwilight) c = kTwilightShades[s];
            set(Shade(static_cast<Ramp>(r), s), c.r, c.g, c.b);
        }
    }
    set(248, 64, 64, 64);
    set(249, 192, 192, 192);
    set(TransparentIndex, 255, 0, 255);
    set(kUiWhite, 255, 255, 255);
    set(kUiGold, 255, 208, 48);
    set(kUiNavy, 16, 24, 64);
    set(kUiRed, 232, 32, 48);
    set(kUiCyan, 64, 232, 255);
    return p;
}

}  // namespace

const Palette& GamePalette() {
    static const Palette palette = Design();
    return palette;
}

}  // namespace zoa::databuild
