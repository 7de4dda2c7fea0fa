// The parallax strips of SPb. Every strip repeats every 640 pixels: shapes are
// drawn three times (shifted by -640, 0, +640) and noise wraps at 640. Which
// rows must be opaque follows from how the layers stack on screen: the far
// strips (0, and 1 on later stages) and the middle strip 1 are opaque
// throughout; the middle strip 2 may be open above its mesas; the near strips
// are open at the top and solid from row 100 down.
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
        const float v = from + (to - from) * static_cast<float>(y - y0) / static_cast<float>(y1 - y0);
        for (int x = 0; x < c.Width(); ++x) {
            const int level = static_cast<int>(std::floor(v + static_cast<float>(Bayer4(x, y)) / 16.0f));
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
        Cloud(p, 300, 85, 0.7f);
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

Canvas Mesas() {  // strip 2: canyon buttes over the far layer, desert floor below
    Canvas c(kPeriod, 256);
    struct Mesa {
        float x, w, top;
    };
    const Mesa mesas[5] = {{60, 120, 60}, {210, 70, 95}, {330, 150, 40}, {470, 60, 110},
                           {560, 110, 70}};
    Wrapped(c, [&](Painter& p) {
        for (const Mesa& m : mesas) {
            Material mat = Mat(kCanyon, 3);
            mat.bevel = 3;
            p.Poly({{m.x - m.w / 2, 140}, {m.x - m.w / 2 + 12, m.top + 14}, {m.x - m.w / 2 + 18, m.top},
                    {m.x + m.w / 2 - 16, m.top}, {m.x + m.w / 2 - 8, m.top + 18}, {m.x + m.w / 2, 140}},
                   mat);
            for (int i = 1; i < 5; ++i) {
                const float y = m.top + static_cast<float>(i) * (140 - m.top) / 5;
                p.Line({m.x - m.w / 2 + 10, y}, {m.x + m.w / 2 - 8, y}, Shade(kCanyon, 2));
            }
        }
    });
    Gradient(c, 130, 256, kSand, 3.2f, 4.6f);
    for (int x = 0; x < kPeriod; ++x)
        for (int y = 130; y < 256; ++y)
            if (PeriodicNoise(static_cast<float>(x) / 16, static_cast<float>(y) / 3, kPeriod / 16, 5) > 0.72f)
                c.Set(x, y, Shade(kSand, 2));
    return c;
}

// The ground band of a near strip: rows from `top` down, opaque.
void Ground(Canvas& c, int top, Ramp surface, Ramp soil, uint32_t seed) {
    for (int x = 0; x < kPeriod; ++x) {
        const int edge = top + static_cast<int>(4 * PeriodicNoise(static_cast<float>(x) / 20, 0, kPeriod / 20, seed));
        for (int y = edge; y < c.Height(); ++y) {
            int level;
            Ramp r = soil;
            if (y - edge < 10) {
                r = surface;
                level = y == edge ? 6 : (y - edge < 3 ? 5 : 4);
            } else {
                const float n = PeriodicNoise(static_cast<float>(x) / 12, static_cast<float>(y) / 8, kPeriod / 12, seed + 1);
                level = 3 + (n > 0.6f ? 1 : 0) - (n < 0.3f ? 1 : 0);
            }
            c.Set(x, y, Shade(r, level));
        }
        c.Set(x, edge - 1, kOutline);
    }
}

Canvas GreenHills() {  // strip 3
    Canvas c(kPeriod, 220);
    Wrapped(c, [](Painter& p) {
        for (int i = 0; i < 7; ++i) {
            const float x = 45.0f + i * 92, h = 40.0f + static_cast<float>(Hash(i, 3) % 40);
            p.Limb({x, 110}, {x, h + 30}, 5, 4, Mat(kWood, 3));
            p.Circle(x - 14, h + 22, 20, Mat(kGrass, 3));
            p.Circle(x + 14, h + 24, 19, Mat(kGrass, 3));
            p.Circle(x, h + 8, 22, Mat(kGrass, 4));
        }
        for (int i = 0; i < 10; ++i)
            p.Ellipse(20.0f + i * 64, 100, 30, 16, Mat(kGrass, 4));
    });
    Ground(c, 100, kGrass, kEarth, 11);
    for (int i = 0; i < 60; ++i) {
        const int x = static_cast<int>(Hash(i, 7) % kPeriod), y = 104 + static_cast<int>(Hash(i, 8) % 8);
        c.Set(x, y, Shade(i % 2 ? kScarf : kGold, 6));
    }
    return c;
}

Canvas DuskForest() {  // strip 4
    Canvas c(kPeriod, 220);
    Wrapped(c, [](Painter& p) {
        for (int i = 0; i < 8; ++i) {
            const float x = 30.0f + i * 80 + static_cast<float>(Hash(i, 4) % 20);
            p.Limb({x, 112}, {x + 2, 0}, 9, 6, Mat(kWood, 2));
            p.Ellipse(x, 22, 36, 22, Mat(kForest, 2));
            p.Ellipse(x + 20, 40, 24, 14, Mat(kForest, 3));
        }
        for (int i = 0; i < 12; ++i) {
            const float x = 25.0f + i * 53;
            p.Ellipse(x, 98, 22, 12, Mat(kForest, 3));
        }
        for (int i = 0; i < 9; ++i) {  // glowing mushrooms
            const float x = 40.0f + i * 71;
            p.Limb({x, 104}, {x, 96}, 1.5f, 1.5f, Mat(kCream, 4));
            p.Ellipse(x, 95, 5, 3, Mat(kEnergy, 5));
        }
    });
    Ground(c, 102, kForest, kEarth, 21);
    return c;
}

Canvas Canyon() {  // strip 5
    Canvas c(kPeriod, 220);
    Wrapped(c, [](Painter& p) {
        for (int i = 0; i < 5; ++i) {
            const float x = 64.0f + i * 128, top = 20.0f + static_cast<float>(Hash(i, 5) % 40);
            Material m = Mat(kCanyon, 4);
            m.bevel = 3;
            p.Poly({{x - 34, 112}, {x - 26, top + 10}, {x - 10, top}, {x + 14, top + 6}, {x + 30, top + 30},
                    {x + 36, 112}},
                   m);
            for (int k = 1; k < 4; ++k)
                p.Line({x - 28, top + k * 22.0f}, {x + 30, top + k * 22.0f + 4}, Shade(kCanyon, 2));
        }
        for (int i = 0; i < 4; ++i) {
            const float x = 128.0f + i * 160;
            p.Limb({x, 108}, {x, 60}, 6, 5, Mat(kOlive, 4));
            p.Limb({x - 6, 84}, {x - 16, 70}, 3.5f, 3.5f, Mat(kOlive, 4));
            p.Limb({x + 6, 78}, {x + 15, 64}, 3.5f, 3.5f, Mat(kOlive, 4));
        }
    });
    Ground(c, 104, kSand, kCanyon, 31);
    return c;
}

Canvas MachineCity() {  // strip 6
    Canvas c(kPeriod, 220);
    Wrapped(c, [](Painter& p) {
        for (int i = 0; i < 8; ++i) {
            const float x = static_cast<float>(i) * 80, w = 56, top = 10.0f + static_cast<float>(Hash(i, 6) % 60);
            Material m = Mat(kNight, 3 + static_cast<int>(i % 2));
            m.bevel = 2;
            p.Box(x + 4, top, x + 4 + w, 112, m);
            for (float wy = top + 8; wy < 100; wy += 12)
                for (float wx = x + 10; wx < x + w - 2; wx += 10)
                    p.Box(wx, wy, wx + 5, wy + 6,
                          NoOutline(Plain(Hash(static_cast<uint32_t>(wx), static_cast<uint32_t>(wy)) % 3 ? kGold : kNight,
                                          Hash(static_cast<uint32_t>(wx), static_cast<uint32_t>(wy)) % 3 ? 6 : 2)));
        }
        p.Limb({0, 92}, {640, 92}, 5, 5, Mat(kMetal, 3));  // a long pipe
        for (int i = 0; i < 8; ++i) p.Box(30.0f + i * 80, 86, 38.0f + i * 80, 98, Mat(kRust, 4));
    });
    Ground(c, 104, kMetal, kNight, 41);
    for (int x = 0; x < kPeriod; ++x)  // hazard stripes along the edge
        for (int y = 108; y < 113; ++y)
            c.Set(x, y, ((x + y) / 6) % 2 ? Shade(kGold, 5) : Shade(kNight, 1));
    return c;
}

}  // namespace

Canvas BuildBackgroundSheet() {
    Canvas sheet(640, 1920);
    const Canvas strips[7] = {FarSky(), Mountains(), Mesas(), GreenHills(), DuskForest(), Canyon(),
                              MachineCity()};
    for (int i = 0; i < 7; ++i) sheet.Paste(strips[i], kBackgroundStrip[i].left, kBackgroundStrip[i].top);
    return sheet;
}

}  // namespace zoa::databuild
