// The parallax strips of SPb. Every strip repeats every 640 pixels: shapes are
// drawn three times (shifted by -640, 0, +640) and noise wraps at 640. Which
// rows must be opaque follows from how the layers stack on screen: the far
// strips (0, and 1 on later stages) and the middle strip 1 are opaque
// throughout; the middle strip 2 may be open above its ranges; the near strips
// are open at the top and solid from row 102 down. The far and middle strips
// are shared by several worlds, so they hold only sky and distant mountains;
// each world's own look is on its near strip.
#include <cmath>
#include <functional>

#include "interface_layout.h"
#include "noise.h"
#include "painter.h"
#include "sheet_builders.h"

namespace zoa::databuild {

namespace {

constexpr float kPi = 3.14159265f;
constexpr int kPeriod = 640;

// Runs `draw` with painters shifted by -640, 0 and +640, so whatever it draws
// wraps around the strip's edges.
void Wrapped(Canvas& c, const std::function<void(Painter&)>& draw) {
    for (int shift : {-kPeriod, 0, kPeriod}) {
        Painter p(c, 1.0f, static_cast<float>(shift), 0.0f);
        draw(p);
    }
}

// Fills rows [y0, y1) with a dithered vertical blend between two shades of a ramp.
void Gradient(Canvas& c, int y0, int y1, Ramp ramp, float from, float to) {
    for (int y = y0; y < y1; ++y) {
        const float v =
            from + (to - from) * static_cast<float>(y - y0) / static_cast<float>(y1 - y0);
        for (int x = 0; x < c.Width(); ++x) {
            const int level =
                static_cast<int>(std::floor(v + static_cast<float>(Bayer4(x, y)) / 16.0f));
            c.Set(x, y, Shade(ramp, level));
        }
    }
}

// A height profile that repeats every 640 px: a sum of whole-period waves.
float Ridge(int x, const float* amps, const int* freqs, int n, float phase) {
    float h = 0;
    for (int i = 0; i < n; ++i)
        h += amps[i] * std::sin(2 * kPi * static_cast<float>(freqs[i] * x) / kPeriod +
                                phase * static_cast<float>(i + 1));
    return h;
}

void Cloud(Painter& p, float x, float y, float s) {
    p.Ellipse(x, y + 4 * s, 34 * s, 9 * s, Mat(kCream, 4));
    p.Ellipse(x - 14 * s, y, 15 * s, 11 * s, Mat(kCream, 5));
    p.Ellipse(x + 6 * s, y - 5 * s, 18 * s, 14 * s, Mat(kCream, 5));
    p.Ellipse(x + 22 * s, y + 2 * s, 12 * s, 9 * s, Mat(kCream, 5));
}

Canvas FarSky() {  // strip 0
    Canvas c(kPeriod, 215);
    Gradient(c, 0, 215, kSky, 2.2f, 5.6f);
    Wrapped(c, [](Painter& p) {
        Cloud(p, 80, 40, 1.0f);
        Cloud(p, 540, 75,
              0.7f);  // clear of the title's logo, which would show it through its letters
        Cloud(p, 470, 30, 1.2f);
        Cloud(p, 600, 110, 0.6f);
    });
    return c;
}

Canvas Mountains() {  // strip 1: lower sky, warm horizon, distant ranges
    Canvas c(kPeriod, 264);
    Gradient(c, 0, 70, kSky, 4.3f, 6.6f);
    Gradient(c, 70, 264, kHaze, 6.4f, 4.2f);
    const float a1[3] = {22, 12, 6}, a2[3] = {14, 8, 5};
    const int f1[3] = {3, 7, 13}, f2[3] = {2, 5, 11};
    for (int x = 0; x < kPeriod; ++x) {
        const int top1 = static_cast<int>(110 + Ridge(x, a1, f1, 3, 0.7f));
        const int top2 = static_cast<int>(175 + Ridge(x, a2, f2, 3, 2.1f));
        for (int y = top1; y < 264; ++y) {
            int level = 4 - (y - top1) / 30;
            if (y - top1 < 10 && top1 < 100) level = 7;  // snow caps on the high peaks
            if (y == top1) level = level >= 7 ? 7 : 5;
            c.Set(x, y, Shade(kMountain, level));
        }
        for (int y = top2; y < 264; ++y) {
            const int level = (y == top2) ? 5 : 3 - (y - top2) / 40;
            c.Set(x, y, Shade(kTeal, level));
        }
        c.Set(x, top1 - 1, kOutline == 1 ? Shade(kMountain, 2) : 0);
    }
    return c;
}

// Strip 2, the middle layer of levels 4-8 (desert and city alike): hazy
// ranges far away in dusk colours, open above them so the far layer's sky
// shows, and haze down to the strip's bottom.
Canvas DistantRanges() {
    Canvas c(kPeriod, 256);
    const float a1[3] = {26, 12, 5}, a2[3] = {16, 9, 4};
    const int f1[3] = {2, 5, 11}, f2[3] = {3, 7, 13};
    for (int x = 0; x < kPeriod; ++x) {
        const int top1 = static_cast<int>(70 + Ridge(x, a1, f1, 3, 1.3f));
        const int top2 = static_cast<int>(125 + Ridge(x, a2, f2, 3, 0.4f));
        for (int y = top1; y < 256; ++y) {
            const int level = y == top1 ? 4 : 3 - (y - top1 + Bayer4(x, y) * 2) / 48;
            c.Set(x, y, Shade(kMountain, level));
        }
        for (int y = top2; y < 256; ++y) {
            const int level = y == top2 ? 3 : 2 - (y - top2 + Bayer4(x, y) * 3) / 50;
            c.Set(x, y, Shade(kDusk, level));
        }
    }
    return c;
}

// What a near strip shows below its scenery: something plainly far below the
// play, never a floor. The backgrounds never scroll vertically, so when the
// camera rises in a jump or the tiles leave a pit, this is what the player
// sees at the bottom of the screen. From row `top` down it is opaque, in dark,
// dull shades of ramps no floor tile uses (so it can never be mistaken for a
// floor's top): distant treetops or rooftops with a bumpy edge, then a deep
// that darkens towards the screen's bottom.
enum class Deep { kLake, kMist, kGorge, kNightHaze };

void FarBelow(Canvas& c, int top, Ramp lumps, Deep deep, uint32_t seed) {
    const Ramp deepRamp =
        deep == Deep::kLake ? kMountain : (deep == Deep::kNightHaze ? kNight : kDusk);
    for (int x = 0; x < kPeriod; ++x) {
        const int edge = top + static_cast<int>(10 * PeriodicNoise(static_cast<float>(x) / 14, 0,
                                                                   kPeriod / 14, seed));
        for (int y = edge; y < c.Height(); ++y) {
            const int d = y - edge;
            uint8_t v;
            if (d < 46) {  // far treetops (or roofs): lit tops, dark bodies
                const float n = PeriodicNoise(static_cast<float>(x) / 9, static_cast<float>(y) / 7,
                                              kPeriod / 9, seed + 1);
                int level = d < 2 ? 2 : (n > 0.62f ? 2 : 1);
                if (d > 30 && Bayer4(x, y) < (d - 30)) level = 0;
                v = Shade(lumps, level);
            } else {  // the deep: darker towards the bottom
                const int level = 2 - (d - 46 + Bayer4(x, y) * 4) / 40;
                v = Shade(deepRamp, level);
                if (deep == Deep::kLake && (y % 9) == 0 && Hash(x / 24, y, seed) % 3 == 0)
                    v = Shade(kMountain, 3);  // glints on the water far below
                if (deep == Deep::kNightHaze && Hash(x, y, seed) % 211 == 0) v = Shade(kFire, 3);
            }
            c.Set(x, y, v);
        }
    }
}

Canvas GreenHills() {  // strip 3: round trees, a wooded valley and a lake far below
    Canvas c(kPeriod, 220);
    Wrapped(c, [](Painter& p) {
        for (int i = 0; i < 7; ++i) {
            const float x = 45.0f + i * 92, h = 30.0f + static_cast<float>(Hash(i, 3) % 40);
            p.Limb({x, 120}, {x, h + 30}, 5, 4, Mat(kWood, 3));
            p.Circle(x - 14, h + 22, 20, Mat(kGrass, 3));
            p.Circle(x + 14, h + 24, 19, Mat(kGrass, 3));
            p.Circle(x, h + 8, 22, Mat(kGrass, 4));
        }
    });
    FarBelow(c, 92, kTeal, Deep::kLake, 11);
    return c;
}

Canvas DuskForest() {  // strip 4: tall trunks under a canopy, violet mist below
    Canvas c(kPeriod, 220);
    Wrapped(c, [](Painter& p) {
        for (int i = 0; i < 8; ++i) {
            const float x = 30.0f + i * 80 + static_cast<float>(Hash(i, 4) % 20);
            p.Limb({x, 130}, {x + 2, 0}, 9, 6, Mat(kWood, 2));
            p.Ellipse(x, 22, 36, 22, Mat(kForest, 2));
            p.Ellipse(x + 20, 40, 24, 14, Mat(kForest, 3));
        }
    });
    FarBelow(c, 92, kDusk, Deep::kMist, 21);
    return c;
}

Canvas Canyon() {  // strip 5: red buttes and cacti on their ledges, a dark gorge below
    Canvas c(kPeriod, 220);
    Wrapped(c, [](Painter& p) {
        for (int i = 0; i < 5; ++i) {
            const float x = 64.0f + i * 128, top = 14.0f + static_cast<float>(Hash(i, 5) % 40);
            Material m = Mat(kCanyon, 4);
            m.bevel = 3;
            p.Poly({{x - 38, 130},
                    {x - 28, top + 10},
                    {x - 12, top},
                    {x + 16, top},
                    {x + 32, top + 24},
                    {x + 40, 130}},
                   m);
            for (int k = 1; k < 5; ++k)
                p.Line({x - 30, top + k * 20.0f}, {x + 34, top + k * 20.0f + 4}, Shade(kCanyon, 2));
            p.Limb({x + 2, top}, {x + 2, top - 14}, 3, 3, Mat(kOlive, 4));  // a cactus on top
            p.Limb({x + 2, top - 8}, {x - 5, top - 13}, 2, 2, Mat(kOlive, 4));
        }
    });
    FarBelow(c, 92, kCrimson, Deep::kGorge, 31);
    return c;
}

Canvas MachineCity() {  // strip 6: towers with lit windows, the lower city in the night haze
    Canvas c(kPeriod, 220);
    Wrapped(c, [](Painter& p) {
        for (int i = 0; i < 8; ++i) {
            const float x = static_cast<float>(i) * 80, w = 56,
                        top = 6.0f + static_cast<float>(Hash(i, 6) % 60);
            Material m = Mat(kNight, 3 + static_cast<int>(i % 2));
            m.bevel = 2;
            p.Box(x + 4, top, x + 4 + w, 130, m);
            p.Limb({x + 20, top}, {x + 20, top - 10}, 1, 1, Mat(kMetal, 3));  // an antenna
            for (float wy = top + 8; wy < 100; wy += 12)
                for (float wx = x + 10; wx < x + w - 2; wx += 10)
                    p.Box(
                        wx, wy, wx + 5, wy + 6,
                        NoOutline(Plain(
                            Hash(static_cast<uint32_t>(wx), static_cast<uint32_t>(wy)) % 3 ? kFlame
                                                                                           : kNight,
                            Hash(static_cast<uint32_t>(wx), static_cast<uint32_t>(wy)) % 3 ? 6
                                                                                           : 2)));
        }
    });
    FarBelow(c, 92, kViolet, Deep::kNightHaze, 41);
    return c;
}

}  // namespace

Canvas BuildBackgroundSheet() {
    Canvas sheet(640, 1920);
    const Canvas strips[7] = {FarSky(),     Mountains(), DistantRanges(), GreenHills(),
                              DuskForest(), Canyon(),    MachineCity()};
    for (int i = 0; i < 7; ++i)
        sheet.Paste(strips[i], kBackgroundStrip[i].left, kBackgroundStrip[i].top);
    return sheet;
}

}  // namespace zoa::databuild
