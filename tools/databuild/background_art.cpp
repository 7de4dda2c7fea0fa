// The parallax strips of SPb. Every strip repeats every 640 pixels: shapes are
// drawn three times (shifted by -640, 0, +640) and noise wraps at 640. Which
// rows must be opaque follows from how the layers stack on screen: the far
// strips (0, and 1 on later stages) and the middle strips are opaque
// throughout; the near strips are open at the top and solid from row 102
// down. The far and middle strips are shared by several worlds, so they hold
// only sky and distant mountains; each world's own look is on its near strip.
#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <vector>

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

// Fills rows [y0, y1) with a dithered vertical blend through a list of
// colours, evenly spaced from the first row to the last.
void Blend(Canvas& c, int y0, int y1, std::initializer_list<uint8_t> colours) {
    const std::vector<uint8_t> stops(colours);
    const float span = static_cast<float>(stops.size() - 1);
    for (int y = y0; y < y1; ++y) {
        const float v = span * static_cast<float>(y - y0) / static_cast<float>(y1 - 1 - y0);
        for (int x = 0; x < c.Width(); ++x) {
            const int i = std::min(static_cast<int>(v + static_cast<float>(Bayer4(x, y)) / 16.0f),
                                   static_cast<int>(span));
            c.Set(x, y, stops[i]);
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

// Background shapes are outlined in the deep's near-black, never in the
// outline colour every tile and sprite uses, so nothing behind the play
// shares a colour with something in it.
Material Far(Material m) {
    m.outlineColour = Shade(kTwilight, 0);
    return m;
}

// A day cloud: no outline and no bright rim, as far things are; a paler
// body over a bluer underside.
void Cloud(Painter& p, float x, float y, float s) {
    const Material body = NoOutline(Plain(kSky, 7)), underside = NoOutline(Plain(kSky, 5));
    p.Ellipse(x, y + 6 * s, 34 * s, 8 * s, underside);
    p.Ellipse(x, y + 3 * s, 32 * s, 8 * s, body);
    p.Ellipse(x - 14 * s, y, 15 * s, 11 * s, body);
    p.Ellipse(x + 6 * s, y - 5 * s, 18 * s, 14 * s, body);
    p.Ellipse(x + 22 * s, y + 2 * s, 12 * s, 9 * s, body);
}

// The farthest haze: the colour of the palest, farthest range, low on the
// day sky (strip 0, down to its row 129), and of the gaps between strip 1's
// peaks, which by day stand right below it, so the two layers join without a
// seam however they scroll. By evening those gaps are the top rows of the
// screen, where a muted blue sits far better than the day sky's pale.
constexpr uint8_t kFarthestHaze = Shade(kTwilight, 5);

// Strip 0, the day sky of levels 0-3: deep blue high, pale low, and along its
// foot the palest, farthest range, behind the mountains of strip 1.
Canvas DaySky() {
    Canvas c(kPeriod, 215);
    Gradient(c, 0, 130, kSky, 2.5f, 6.5f);
    Wrapped(c, [](Painter& p) {
        Cloud(p, 80, 40, 1.0f);
        Cloud(p, 540, 75,
              0.7f);  // clear of the title's logo, which would show it through its letters
        Cloud(p, 470, 30, 1.2f);
        Cloud(p, 600, 110, 0.6f);
    });
    const float amps[3] = {5, 3, 1.5f};
    const int freqs[3] = {3, 8, 19};
    for (int x = 0; x < kPeriod; ++x) {
        const int top = static_cast<int>(116 + Ridge(x, amps, freqs, 3, 2.1f));
        for (int y = top; y < c.Height(); ++y) c.Set(x, y, kFarthestHaze);
    }
    return c;
}

// Strip 1 is two layers at once: the middle layer of levels 0-3, drawn from
// screen row 130 under the day sky, and the far layer of levels 4-8, drawn
// from the screen's top, where its upper 130 rows show (mostly behind the
// HUD) above strip 2. So it is a range of far mountains in blue haze: low,
// soft crests with snow on their peaks, the faces towards the light paler,
// the whole range darkest at the top and paling into haze towards its feet.
// By day it stands under the bright sky; by evening the same muted blue,
// deepest at the screen's top, is the upper sky of dusk paling towards the
// sunset below it.
Canvas HazeRange() {
    Canvas c(kPeriod, 264);
    const float amps[3] = {7, 4, 2};
    const int freqs[3] = {2, 5, 13};
    auto crest = [&](int x) { return 10 + Ridge(x, amps, freqs, 3, 0.9f); };
    // How much a face is turned to the light: positive where the range's
    // broad shape (its two longest waves) rises to the right.
    auto lit = [&](int x) {
        return std::clamp(
            (Ridge(x - 4, amps, freqs, 2, 0.9f) - Ridge(x + 4, amps, freqs, 2, 0.9f)) * 0.5f, -1.2f,
            1.2f);
    };
    for (int x = 0; x < kPeriod; ++x) {
        const float top = crest(x);
        const float snow = std::max(0.0f, 10 - top) * 0.7f;  // on the peaks only
        for (int y = 0; y < c.Height(); ++y) {
            const float dither = static_cast<float>(Bayer4(x, y)) / 16;
            const float d = static_cast<float>(y) - top;
            if (d < 0) {
                c.Set(x, y, kFarthestHaze);
                continue;
            }
            if (d + 3 * dither < snow) {  // snow caps
                c.Set(x, y, Shade(kTwilight, lit(x) > 0 ? 7 : 6));
                continue;
            }
            if (d < 1 && lit(x) > 0) {  // a crest catching the light
                c.Set(x, y, Shade(kTwilight, 6));
                continue;
            }
            // Rows 0-129 are the evening's upper sky too, so they stay deep;
            // below them (seen by day only) the feet pale quickly into haze.
            const float haze = y < 130
                                   ? 3.0f + 1.3f * static_cast<float>(y) / 130
                                   : std::min(6.4f, 4.3f + 2.1f * static_cast<float>(y - 130) / 30);
            // Faces run down and away from the crest as slanting spurs.
            const float face = lit(x - static_cast<int>(d / 2)) * std::max(0.0f, 1 - d / 60);
            c.Set(x, y, Shade(kTwilight, std::clamp(static_cast<int>(haze + face + dither), 3, 6)));
        }
    }
    return c;
}

// Strip 2, the middle layer of levels 4-8 (desert and city alike), drawn
// from screen row 130 where strip 1's blue ends: the sky, its first stars
// high up, warming from that blue through mauve to the sunset's glow low over the horizon, two
// ranges in silhouette against it, rims catching its light, and dark down to the strip's bottom.
Canvas SunsetRanges() {
    Canvas c(kPeriod, 256);
    Blend(c, 0, 130,
          {Shade(kTwilight, 4), Shade(kDusk, 5), Shade(kHaze, 1), Shade(kHaze, 2), Shade(kHaze, 4),
           Shade(kHaze, 4), Shade(kFlame, 7)});
    Gradient(c, 130, 256, kDusk, 4.0f, 2.0f);
    // The first stars, only high up in the blue, fewer towards the glow.
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < kPeriod; ++x)
            if (Hash01(static_cast<uint32_t>(x), static_cast<uint32_t>(y), 57) <
                0.004f * (1.0f - static_cast<float>(y) / 40.0f))
                c.Set(x, y, Shade(kTwilight, 7));
    const float a1[3] = {18, 9, 4}, a2[3] = {12, 7, 3};
    const int f1[3] = {2, 5, 11}, f2[3] = {3, 7, 13};
    for (int x = 0; x < kPeriod; ++x) {
        const int top1 = static_cast<int>(104 + Ridge(x, a1, f1, 3, 1.3f));
        const int top2 = static_cast<int>(136 + Ridge(x, a2, f2, 3, 0.4f));
        for (int y = top1; y < 256; ++y) {
            const int d = y - top1;
            const int level = d < 2 ? 6 : std::max(2, 4 - (d + Bayer4(x, y) * 2) / 40);
            c.Set(x, y, d < 1 ? Shade(kHaze, 2) : Shade(kDusk, level));
        }
        for (int y = top2; y < 256; ++y) {
            const int d = y - top2;
            const int level = d < 2 ? 3 : std::max(0, 1 - (d + Bayer4(x, y) * 3) / 45);
            c.Set(x, y, Shade(kViolet, level));
        }
    }
    return c;
}

// The evening worlds' deep: near-black, as dark as the night over it.
constexpr uint8_t kNightDeep = Shade(kTwilight, 0);

// What lies far below a near strip's scenery: the colours of the deep, from
// its upper rows to its lowest, and the few small lights that show in it.
struct Deep {
    uint8_t upper, lower;
    uint8_t light;
    int lights;
    int lightLength;  // 1: points (lamps, fireflies); longer: glints on water
};

// What a near strip shows below its scenery: something plainly far below the
// play, never a floor. The backgrounds never scroll vertically, so when the
// camera rises in a jump or the tiles leave a pit, this is what the player
// sees at the bottom of the screen. From row `top` down it is opaque: a
// thin fringe of far treetops or roofs in dark, dull shades, then the deep,
// darker than any floor, where only a few far lights or glints show.
void FarBelow(Canvas& c, int top, Ramp lumps, int lumpLevel, const Deep& deep, uint32_t seed) {
    for (int x = 0; x < kPeriod; ++x) {
        const int edge = top + static_cast<int>(10 * PeriodicNoise(static_cast<float>(x) / 14, 0,
                                                                   kPeriod / 14, seed));
        for (int y = edge; y < c.Height(); ++y) {
            const int d = y - edge;
            uint8_t v;
            if (d < 24) {  // the fringe: lit tops, dark bodies, dithered into the deep
                const float n = PeriodicNoise(static_cast<float>(x) / 9, static_cast<float>(y) / 7,
                                              kPeriod / 9, seed + 1);
                v = Shade(lumps, d < 2 || n > 0.66f ? lumpLevel + 1 : lumpLevel);
                if (d > 8 && Bayer4(x, y) < d - 8) v = deep.upper;
            } else {  // the deep, darkening towards the bottom
                v = Bayer4(x, y) * 4 < d - 24 ? deep.lower : deep.upper;
            }
            c.Set(x, y, v);
        }
    }
    for (int i = 0; i < deep.lights; ++i) {  // the lights, on the deep only
        const int x = static_cast<int>(Hash(i, 1, seed) % kPeriod),
                  y = top + 40 + static_cast<int>(Hash(i, 2, seed) % (c.Height() - top - 40));
        for (int k = 0; k < deep.lightLength; ++k) c.Set((x + k) % kPeriod, y, deep.light);
    }
}

Canvas GreenHills() {  // strip 3: round trees, a wooded valley and a lake far below
    Canvas c(kPeriod, 220);
    Wrapped(c, [](Painter& p) {
        for (int i = 0; i < 7; ++i) {
            const float x = 45.0f + i * 92, h = 30.0f + static_cast<float>(Hash(i, 3) % 40);
            p.Limb({x, 120}, {x, h + 30}, 5, 4, Far(Mat(kOlive, 2)));
            p.Circle(x - 14, h + 22, 20, Far(Mat(kOlive, 3)));
            p.Circle(x + 14, h + 24, 19, Far(Mat(kOlive, 3)));
            p.Circle(x, h + 8, 22, Far(Mat(kOlive, 4)));
        }
    });
    // By day the deep is a shaded lake, dark teal, with a few glints of the sky.
    FarBelow(c, 92, kOlive, 1,
             {Shade(kTwilight, 1), Shade(kTwilight, 2), Shade(kTwilight, 5), 60, 5}, 11);
    return c;
}

Canvas DuskForest() {  // strip 4: tall trunks under a canopy, the forest's dark floor far below
    Canvas c(kPeriod, 220);
    Wrapped(c, [](Painter& p) {
        for (int i = 0; i < 8; ++i) {
            const float x = 30.0f + i * 80 + static_cast<float>(Hash(i, 4) % 20);
            p.Limb({x, 130}, {x + 2, 0}, 9, 6, Far(Mat(kDusk, 4)));
            p.Ellipse(x, 22, 36, 22, Far(Mat(kOlive, 3)));
            p.Ellipse(x + 20, 40, 24, 14, Far(Mat(kOlive, 4)));
        }
    });
    // By day the forest's depths are in deep green-blue shadow, a few flecks of sun in them.
    FarBelow(c, 92, kOlive, 1, {Shade(kTwilight, 1), Shade(kTwilight, 2), Shade(kOlive, 3), 120, 1},
             21);
    return c;
}

// Strip 5: rock spires glowing in the sunset, in rose rather than the sand and
// canyon colours of the desert's floors, and pointed, so no top looks like a
// ledge; a dark gorge below.
Canvas Canyon() {
    Canvas c(kPeriod, 220);
    Wrapped(c, [](Painter& p) {
        for (int i = 0; i < 5; ++i) {
            const float x = 64.0f + i * 128, top = 10.0f + static_cast<float>(Hash(i, 5) % 40);
            Material m = Far(Mat(kCrimson, 5));
            m.bevel = 3;
            p.Poly({{x - 40, 130},
                    {x - 30, top + 44},
                    {x - 16, top + 14},
                    {x - 2, top},
                    {x + 12, top + 16},
                    {x + 30, top + 50},
                    {x + 42, 130}},
                   m);
            for (int k = 1; k < 5; ++k)
                p.Line({x - 30 + k * 2.0f, top + k * 22.0f},
                       {x + 30 - k * 2.0f, top + k * 22.0f + 4}, Shade(kCrimson, 3));
        }
    });
    FarBelow(c, 92, kDusk, 2, {kNightDeep, kBlack, Shade(kCrimson, 6), 360, 1}, 31);
    return c;
}

Canvas MachineCity() {  // strip 6: towers with lit windows, the lower city in the night haze
    Canvas c(kPeriod, 220);
    Wrapped(c, [](Painter& p) {
        for (int i = 0; i < 8; ++i) {
            const float x = static_cast<float>(i) * 80, w = 56,
                        top = 6.0f + static_cast<float>(Hash(i, 6) % 60);
            Material m = Far(Mat(kViolet, 2 + static_cast<int>(i % 2)));
            m.bevel = 2;
            p.Box(x + 4, top, x + 4 + w, 130, m);
            p.Limb({x + 20, top}, {x + 20, top - 10}, 1, 1, Far(Mat(kDusk, 5)));  // an antenna
            p.Dot(x + 20, top - 11, Shade(kCrimson, 6));                          // its beacon
            for (float wy = top + 8; wy < 100; wy += 12)
                for (float wx = x + 10; wx < x + w - 2; wx += 10) {
                    const bool lit =
                        Hash(static_cast<uint32_t>(wx), static_cast<uint32_t>(wy)) % 3 != 0;
                    p.Box(wx, wy, wx + 5, wy + 6,
                          NoOutline(Plain(lit ? kFlame : kTwilight, lit ? 7 : 0)));
                }
        }
    });
    FarBelow(c, 92, kViolet, 0, {kNightDeep, kBlack, Shade(kFlame, 7), 360, 1}, 41);
    return c;
}

}  // namespace

Canvas BuildBackgroundSheet() {
    Canvas sheet(640, 1920);
    const Canvas strips[7] = {DaySky(),     HazeRange(), SunsetRanges(), GreenHills(),
                              DuskForest(), Canyon(),    MachineCity()};
    for (int i = 0; i < 7; ++i)
        sheet.Paste(strips[i], kBackgroundStrip[i].left, kBackgroundStrip[i].top);
    return sheet;
}

}  // namespace zoa::databuild
