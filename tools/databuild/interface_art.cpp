// The loading picture (SPl), the title picture (SPm) and the interface sheet
// (SPmi): menu plates, the pause cursor, HUD labels and bars, digits, the
// stage and demo labels and the game-over banner.
#include <string_view>

#include "hero_art.h"
#include "interface_layout.h"
#include "noise.h"
#include "painter.h"
#include "pixel_font.h"
#include "sheet_builders.h"

namespace zoa::databuild {

namespace {

constexpr const char* kTitleItems[4] = {"NEW GAME", "CONTINUE", "DEMO", "QUIT"};
constexpr const char* kPauseItems[3] = {"SAVE GAME", "TO TITLE", "RESUME"};

// A rounded menu plate of w x h at (x, y); highlighted plates glow gold.
void Plate(Canvas& c, int x, int y, int w, int h, bool lit) {
    Canvas plate(w, h);
    Painter p(plate);
    Material m = lit ? Mat(kGold, 4) : Mat(kNight, 3);
    m.bevel = 2.5f;
    p.Poly({{3, 1},
            {static_cast<float>(w) - 3, 1},
            {static_cast<float>(w) - 1, 3},
            {static_cast<float>(w) - 1, static_cast<float>(h) - 3},
            {static_cast<float>(w) - 3, static_cast<float>(h) - 1},
            {3, static_cast<float>(h) - 1},
            {1, static_cast<float>(h) - 3},
            {1, 3}},
           m);
    Material inner = lit ? Mat(kFire, 4) : Mat(kNight, 2);
    inner.outline = false;
    p.Box(5, 5, static_cast<float>(w) - 5, static_cast<float>(h) - 5, inner);
    c.Stamp(plate, x, y);
}

void CentredText(Canvas& c, const Rect& r, std::string_view text, const TextStyle& s) {
    const int w = TextWidth(text, s.scale);
    DrawText(c, r.left + (r.Width() - w) / 2, r.top + (r.Height() - kGlyphHeight * s.scale) / 2,
             text, s);
}

void DrawItemText(Canvas& c, const Rect& r, std::string_view text, bool lit) {
    TextStyle s;
    s.scale = 2;
    s.ramp = lit ? kCream : kMetal;
    s.top = lit ? 7 : 6;
    s.bottom = lit ? 5 : 3;
    CentredText(c, r, text, s);
}

void MenuItem(Canvas& c, const Rect& r, std::string_view text, bool lit) {
    Plate(c, r.left, r.top, r.Width(), r.Height(), lit);
    DrawItemText(c, r, text, lit);
}

// A title item: the plate covers only part of its picture (the rest is
// transparent) so that the four plates, drawn where the title puts their
// pictures, stand with equal gaps and equal margins to both screen edges.
void TitleItem(Canvas& c, const Rect& picture, int item, std::string_view text, bool lit) {
    const Rect plate{picture.left + kTitlePlateInset[item], picture.top,
                     picture.left + kTitlePlateInset[item] + kTitlePlateWidth, picture.bottom};
    MenuItem(c, plate, text, lit);
}

// A dark plate with a gold rim: `roundLeft` rounds its left end (the label's);
// the digits' plates run on from it to the right.
void Backing(Canvas& c, const Rect& r, bool roundLeft) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const int i = x - r.left, j = y - r.top, h = r.Height();
            if (roundLeft && i < 2 && (j < 2 - i || j > h - 3 + i)) continue;
            const bool rim = j == 0 || j == h - 1 || (roundLeft && i == 0);
            c.Set(x, y, rim ? Shade(kGold, 2) : Shade(kNight, 1));
        }
}

// The game's name in big bevelled letters with a thick dark rim.
void Logo(Canvas& c, int cx, int y, int scale) {
    const std::string_view name = "ZOA NOLI";
    const int x = cx - TextWidth(name, scale) / 2;
    // The rim reaches 4 px left and 5 right, together a letter gap's 9 px at
    // scale 9, so no light pixel of the picture behind shows between letters.
    for (int dy = -4; dy <= 5; ++dy)
        for (int dx = -4; dx <= 5; ++dx)
            DrawPlainText(c, x + dx, y + dy, name, dx > 1 || dy > 1 ? kBlack : kOutline, scale);
    TextStyle s;
    s.scale = scale;
    s.ramp = kGold;
    s.top = 7;
    s.bottom = 2;
    s.shadow = false;
    DrawText(c, x, y, name, s);
}

// The screen as the first stage shows it: the three layers at rest.
Canvas Scenery() {
    const Canvas bg = BuildBackgroundSheet();
    Canvas c(640, 480, kBlack);
    auto layer = [&](int strip, int top, int rows) {
        const Rect& s = kBackgroundStrip[strip];
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < 640; ++x) {
                const uint8_t v = bg.Get(s.left + x, s.top + y);
                if (v != TransparentIndex) c.Set(x, top + y, v);
            }
    };
    layer(0, 0, 215);
    layer(1, 130, 264);
    layer(3, 280, 200);
    return c;
}

void Stars(Canvas& c, int rows) {
    for (int i = 0; i < 220; ++i) {
        const int x = static_cast<int>(Hash(i, 1) % 640), y = static_cast<int>(Hash(i, 2) % rows);
        c.Set(x, y, i % 7 ? Grey(6 + i % 6) : Shade(kGold, 7));
    }
}

}  // namespace

Canvas BuildLoadingSheet() {
    Canvas c(640, 480, kBlack);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) c.Set(x, y, Shade(kNight, (y * 4 + Bayer4(x, y) * 30) / 480));
    Stars(c, 300);
    Logo(c, 320, 90, 7);
    Canvas hero(363, 315);
    Painter p(hero, 3.0f);
    DrawHeroFrame(p, 4, 1);
    c.Stamp(hero, 320 - 363 / 2, 140);
    TextStyle s;
    s.scale = 2;
    s.ramp = kEnergy;
    DrawText(c, 320 - TextWidth("LOADING...", 2) / 2, 448, "LOADING...", s);
    return c;
}

Canvas BuildTitleSheet() {
    Canvas c = Scenery();
    Canvas hero(363, 315);
    Painter p(hero, 3.0f);
    DrawHeroFrame(p, 4, 3);
    c.Stamp(hero, 300, 80);
    Logo(c, 250, 60, 9);
    TextStyle tag;
    tag.scale = 2;
    tag.ramp = kCream;
    tag.top = 7;
    tag.bottom = 5;
    DrawText(c, 250 - TextWidth("JET PACK ACTION", 2) / 2, 140, "JET PACK ACTION", tag);
    // A dark band behind the menu, then the four items in their plain state.
    for (int y = 378; y < 432; ++y)
        for (int x = 0; x < 640; ++x)
            if ((y - 378 < 2 || 431 - y < 2) || (x + y) % 2 == 0) c.Set(x, y, Shade(kNight, 1));
    for (int i = 0; i < 4; ++i) {
        const Rect pic = kTitleItemPicture[i];
        const Rect at{kTitleItemAt[i].x, kTitleItemAt[i].y, kTitleItemAt[i].x + pic.Width(),
                      kTitleItemAt[i].y + pic.Height()};
        TitleItem(c, at, i, kTitleItems[i], false);
    }
    TextStyle small;
    small.scale = 1;
    small.ramp = kCream;
    small.shadow = true;
    DrawText(c, 320 - TextWidth("ARROWS CHOOSE  ENTER STARTS", 1) / 2, 440,
             "ARROWS CHOOSE  ENTER STARTS", small);
    // What the keys do in play, for whoever starts a game without the README.
    constexpr const char* kPlayKeys =
        "CTRL OR Z JUMPS   SPACE OR X THROWS   UP FLIES   DOWN CHARGES   ESC PAUSES";
    small.ramp = kGold;
    DrawText(c, 320 - TextWidth(kPlayKeys, 1) / 2, 458, kPlayKeys, small);
    return c;
}

Canvas BuildInterfaceSheet() {
    Canvas c(640, 480);
    for (int i = 0; i < 4; ++i) TitleItem(c, kTitleItemPicture[i], i, kTitleItems[i], true);
    for (int i = 0; i < 3; ++i) {
        Rect r = kPauseItemPicture[i];
        MenuItem(c, r, kPauseItems[i], false);
        r.top += kPauseHighlightShift;
        r.bottom += kPauseHighlightShift;
        MenuItem(c, r, kPauseItems[i], true);
    }
    {  // the pause cursor: an arrow with an energy ball
        Canvas cur(36, 36);
        Painter p(cur);
        p.Poly({{6, 8}, {22, 18}, {6, 28}, {10, 18}}, Mat(kGold, 5));
        p.Circle(27, 18, 5, Mat(kEnergy, 5));
        c.Stamp(cur, kPauseCursor.left, kPauseCursor.top);
    }
    TextStyle label;
    label.scale = 2;
    label.ramp = kCream;
    label.top = 7;
    label.bottom = 4;
    // Label 2 is drawn 23 rows below label 1 and overlaps it; keep each word
    // in its own rows (label 1 high, label 2 low).
    DrawText(c, kLifeLabel.left + 4, kLifeLabel.top + 4, "LIFE", label);
    label.ramp = kEnergy;
    DrawText(c, kJetLabel.left + 4, kJetLabel.top + 9, "JET", label);
    auto bar = [&c](const Rect& r, Ramp ramp) {
        for (int y = r.top; y < r.bottom; ++y) {
            const int j = y - r.top;
            for (int x = r.left; x < r.right; ++x) {
                const int i = x - r.left;
                uint8_t v;
                if (j == 0 || j == r.Height() - 1)
                    v = kOutline;
                else if (j == 1 || j == 2)
                    v = Shade(ramp, 7);
                else if (j < 6)
                    v = Shade(ramp, 5);
                else if (j < r.Height() - 4)
                    v = Shade(ramp, 4);
                else
                    v = Shade(ramp, 2);
                if (i % 25 == 24 && j > 0 && j < r.Height() - 1) v = Shade(ramp, 2);  // segments
                c.Set(x, y, v);
            }
        }
    };
    bar(kLifeBar, kScarf);
    bar(kJetBar, kEnergy);
    // The stage label and its digits are drawn over the life bar: a dark
    // plate behind them, running on under the digits, keeps them readable.
    Backing(c, {kStageLabel.left, kStageLabel.top + 3, kStageLabel.right, kStageLabel.top + 29},
            true);
    TextStyle big;
    big.scale = 2;
    big.ramp = kGold;
    DrawText(c, kStageLabel.left + 6, kStageLabel.top + 10, "STAGE", big);
    big.ramp = kPink;
    DrawText(c, kDemoLabel.left + 4, kDemoLabel.top + 5, "DEMO", big);
    TextStyle digit;
    digit.scale = 3;
    digit.ramp = kGold;
    for (int d = 0; d < 10; ++d) {
        const Rect r = DigitCell(d);
        // Neighbouring digits overlap by 11 columns: each plate is 22 wide, so
        // the plates of a two- or three-digit number join into one.
        Backing(c, {r.left, r.top + 3, r.left + 22, r.top + 29}, false);
        const char text[2] = {static_cast<char>('0' + d), 0};
        DrawText(c, r.left + (20 - TextWidth(text, 3)) / 2, r.top + 4, text, digit);
    }
    {  // game over banner
        const Rect& r = kGameOverPicture;
        Plate(c, r.left, r.top, r.Width(), r.Height(), false);
        TextStyle s;
        s.scale = 4;
        s.ramp = kScarf;
        s.top = 7;
        s.bottom = 3;
        CentredText(c, r, "GAME OVER", s);
    }
    return c;
}

}  // namespace zoa::databuild
