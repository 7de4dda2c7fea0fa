// The boards on the first stage that teach the controls. Each board is two
// tiles wide: the left half shows the key as a key cap, the right half an
// arrow that says what the key does. The keys are the default ones (Z or
// Ctrl jumps, X or Space throws, Up flies); Z, X and Up are the ones printed,
// being what fits on a cap 20 pixels wide.
#include "sign_tiles.h"

#include "painter.h"
#include "pixel_font.h"
#include "tile_layout.h"

namespace zoa::databuild {

namespace {

constexpr int kT = 32;

// The board's half: planks from the tile's edge to a rounded end on the outer side.
void BoardHalf(Painter& p, bool left) {
    const float x0 = left ? 1.0f : 0.0f, x1 = left ? 32.0f : 31.0f;
    p.Box(x0, 3, x1, 29, Mat(kWood, 5));
    p.Line({x0 + 2, 16}, {x1 - 2, 16}, Shade(kWood, 3));  // the seam between two planks
}

void KeyCap(Canvas& t, Painter& p, std::string_view label) {
    p.Box(6, 6, 27, 26, Mat(kCream, 6));
    p.Box(8, 7, 25, 22, NoOutline(Plain(kCream, 7)));  // the cap's top face, lit
    if (label == "^") {
        p.Poly({{16.5f, 9}, {22, 19}, {11, 19}}, NoOutline(Plain(kNight, 1)));
        return;
    }
    TextStyle style;
    style.ramp = kNight;
    style.top = 2;
    style.bottom = 1;
    style.outline = false;
    style.shadow = false;
    DrawText(t, 17 - TextWidth(label, 2) / 2, 8, label, style);
}

void SignArt(Canvas& t, int n) {
    Painter p(t);
    const Material arrow = Mat(kGold, 6);
    switch (n) {
        case kSignJumpKeyTile:
            BoardHalf(p, true);
            KeyCap(t, p, "Z");
            break;
        case kSignJumpTile:  // up from the left edge, over, down on the right
            BoardHalf(p, false);
            p.Limb({4, 24}, {12, 10}, 2, 2, arrow);
            p.Limb({12, 10}, {20, 10}, 2, 2, arrow);
            p.Limb({20, 10}, {23, 17}, 2, 2, arrow);
            p.Poly({{17, 17}, {29, 17}, {23, 25}}, arrow);
            break;
        case kSignThrowKeyTile:
            BoardHalf(p, true);
            KeyCap(t, p, "X");
            break;
        case kSignThrowTile:  // a shot with its trail, flying right
            BoardHalf(p, false);
            p.Line({3, 13}, {14, 13}, Shade(kGold, 4));
            p.Line({5, 16}, {16, 16}, Shade(kGold, 4));
            p.Line({3, 19}, {14, 19}, Shade(kGold, 4));
            p.Circle(21, 16, 6, Mat(kEnergy, 5));
            break;
        case kSignFlyKeyTile:
            BoardHalf(p, true);
            KeyCap(t, p, "^");
            break;
        case kSignFlyTile:  // straight up on a flame
            BoardHalf(p, false);
            p.Ellipse(15, 23, 4, 5, Mat(kFlame, 6));
            p.Limb({15, 19}, {15, 11}, 2.5f, 2.5f, arrow);
            p.Poly({{8, 12}, {22, 12}, {15, 4}}, arrow);
            break;
        default:  // kSignPostTile
            p.Limb({16, 0}, {16, 31}, 2.5f, 2.5f, Mat(kWood, 3));
            break;
    }
}

}  // namespace

void SignTile(Canvas& sheet, int ox, int oy, int n) {
    Canvas t(kT, kT);
    SignArt(t, n);
    sheet.Paste(t, ox, oy);
}

}  // namespace zoa::databuild
