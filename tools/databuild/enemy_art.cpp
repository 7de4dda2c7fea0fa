#include "enemy_art.h"

#include <cmath>

#include "painter.h"

namespace zoa::databuild {

namespace {

constexpr float kPi = 3.14159265f;

float Rad(float deg) {
    return deg * kPi / 180.0f;
}
Vec2 Dir(float deg) {
    return {std::sin(Rad(deg)), std::cos(Rad(deg))};
}
Vec2 Add(Vec2 a, Vec2 b, float k = 1) {
    return {a.x + b.x * k, a.y + b.y * k};
}

// A two-part leg from the hip: thigh at `angle` from straight down (forward
// positive), the shin bent back by `knee`; the foot is clamped to `floor`.
void Leg(Painter& p, Vec2 hip, float angle, float knee, float thigh, float shin, float r,
         const Material& m, const Material& foot, float floor) {
    Vec2 k = Add(hip, Dir(angle), thigh);
    Vec2 a = Add(k, Dir(angle - knee), shin);
    if (a.y > floor) a.y = floor;
    p.Limb(hip, k, r, r * 0.85f, m);
    p.Limb(k, a, r * 0.85f, r * 0.7f, m);
    p.Ellipse(a.x + 2.5f, a.y + 0.5f, r * 1.6f, r * 0.9f, foot);
}

void Eye(Painter& p, float x, float y, float r, Ramp glow, bool hurt) {
    if (hurt) {
        p.Line({x - r, y - r}, {x + r, y + r}, kOutline);
        p.Line({x - r, y + r}, {x + r, y - r}, kOutline);
        return;
    }
    p.Circle(x, y, r, Mat(glow, 5));
    p.Dot(x - r * 0.4f, y - r * 0.4f, kWhite);
}

// Little stars and sparks around a defeated enemy.
void Stars(Painter& p, float cx, float cy, int frame) {
    for (int i = 0; i < 3; ++i) {
        const float a = static_cast<float>(frame) * 0.9f + static_cast<float>(i) * 2.1f;
        const float x = cx + std::cos(a) * 22.0f, y = cy + std::sin(a) * 9.0f;
        p.Line({x - 3, y}, {x + 3, y}, Shade(kGold, 7));
        p.Line({x, y - 3}, {x, y + 3}, Shade(kGold, 7));
        p.Dot(x, y, kWhite);
    }
}

// --- 10001: the lobber, a two-legged walker with a mortar on its back ---
void Lobber(Painter& p, int row, int frame, bool hurt) {
    const float f = static_cast<float>(frame);
    const float ph = f / 7.0f * 2 * kPi;
    const bool attack = row == 1;
    const float bob = attack ? (frame < 2 ? 3.0f : 0.0f) : 2.0f * std::fabs(std::sin(ph));
    const Vec2 hip{40, 84 + bob};
    const float swing = attack ? 0 : 26 * std::sin(ph);
    const Material leg = Mat(kRust, 3), foot = Mat(kMetal, 3);
    Leg(p, {hip.x - 5, hip.y}, -swing - 10, 30, 14, 15, 3.5f, Mat(kRust, 2), Mat(kMetal, 2), 111);
    // Mortar tube on the back, tilted forward; it kicks on the attack.
    const float kick = attack ? (frame == 1 || frame == 5 ? 4.0f : 0.0f) : 0.0f;
    p.Limb({28 + kick, 66 + bob}, {40 + kick * 0.5f, 44 + bob + kick}, 6.5f, 7.5f, Mat(kOlive, 3));
    p.Ellipse(41 + kick * 0.5f, 43 + bob + kick, 7.5f, 3.5f,
              Mat(kOutline == 1 ? kMetal : kMetal, 1));
    if (attack && (frame == 1 || frame == 5)) {
        p.Circle(43, 36 + bob, 6, Mat(kFlame, 5));
        p.Circle(43, 36 + bob, 3, NoOutline(Plain(kCream, 7)));
    }
    // Dome body.
    p.Ellipse(40, 74 + bob, 20, 15, Mat(kOlive, 4));
    p.Box(22, 78 + bob, 58, 86 + bob, Mat(kRust, 4));
    for (int i = 0; i < 4; ++i) p.Dot(26 + i * 9, 82 + bob, Shade(kGold, 6));
    // Visor with its eye, looking ahead.
    p.Ellipse(52, 70 + bob, 9, 6.5f, Mat(kMetal, 1));
    Eye(p, 55, 70 + bob, 3.2f, kFire, hurt);
    Leg(p, {hip.x + 5, hip.y}, swing - 10, 30, 14, 15, 3.8f, leg, foot, 111);
}

// --- 10006: the sentry, an armoured biped with a pellet cannon arm ---
void Sentry(Painter& p, int row, int frame, bool hurt) {
    const float f = static_cast<float>(frame);
    const float ph = f / 7.0f * 2 * kPi;
    const bool attack = row == 1;
    const float bob = attack ? 0.0f : 1.5f * std::fabs(std::sin(ph));
    const float swing = attack ? 8 : 24 * std::sin(ph);
    const Vec2 hip{40, 86 + bob};
    Leg(p, {hip.x - 4, hip.y}, -swing, 24, 11, 12, 4.0f, Mat(kViolet, 2), Mat(kMetal, 2), 110);
    // Back arm.
    p.Limb({34, 66 + bob}, {30 - swing * 0.2f, 80 + bob}, 3.5f, 3.0f, Mat(kViolet, 2));
    // Torso: a tall shield-like shell.
    p.Poly({{24, 58 + bob},
            {56, 58 + bob},
            {60, 76 + bob},
            {52, 90 + bob},
            {28, 90 + bob},
            {20, 76 + bob}},
           Mat(kViolet, 4));
    p.Box(30, 64 + bob, 50, 68 + bob, Mat(kGold, 5));
    // Head with a slit visor.
    p.Ellipse(42, 50 + bob, 11, 9, Mat(kViolet, 5));
    p.Box(40, 47 + bob, 54, 52 + bob, Mat(kNight, 1));
    if (hurt) {
        Eye(p, 48, 49.5f + bob, 2.5f, kPink, true);
    } else {
        p.Box(46, 48 + bob, 52, 51 + bob, NoOutline(Plain(kPink, 6)));
    }
    p.Limb({38, 40 + bob}, {36, 33 + bob}, 1.2f, 1.2f, Mat(kMetal, 4));
    p.Circle(36, 32 + bob, 2.2f, Mat(kPink, 5));
    Leg(p, {hip.x + 4, hip.y}, swing, 24, 11, 12, 4.3f, Mat(kViolet, 3), Mat(kMetal, 3), 110);
    // Cannon arm: swings while walking, levelled and firing in the attack.
    const float aim = attack ? 88 : 20 - swing * 0.4f;
    const Vec2 sh{46, 66 + bob};
    const Vec2 end = Add(sh, Dir(aim), 17);
    p.Limb(sh, end, 5.0f, 4.5f, Mat(kMetal, 4));
    p.Circle(end.x, end.y, 3.0f, Mat(kMetal, 1));
    if (attack && frame % 3 == 2) {
        p.Circle(end.x + 5, end.y, 5, Mat(kPink, 6));
        p.Circle(end.x + 5, end.y, 2.5f, NoOutline(Plain(kCream, 7)));
    }
}

// --- 10003: the flamer, a squat fire-breathing beast ---
void Flamer(Painter& p, int row, int frame, bool hurt) {
    const float f = static_cast<float>(frame);
    const float ph = f / 7.0f * 2 * kPi;
    const bool attack = row == 1;
    const float bob = attack ? 2.0f : 1.5f * std::fabs(std::sin(ph));
    const float swing = attack ? 0 : 20 * std::sin(ph);
    // Far legs.
    Leg(p, {22, 96 + bob}, -swing, 20, 8, 8, 4.5f, Mat(kCrimson, 2), Mat(kStone, 2), 111);
    Leg(p, {46, 96 + bob}, swing, 20, 8, 8, 4.5f, Mat(kCrimson, 2), Mat(kStone, 2), 111);
    // Tail.
    p.Limb({12, 88 + bob}, {3, 78 + bob - std::sin(ph) * 3}, 5, 2, Mat(kCrimson, 3));
    // Body with a spiny back.
    for (int i = 0; i < 4; ++i)
        p.Poly({{14.0f + i * 9, 72 + bob}, {19.0f + i * 9, 58 + bob}, {24.0f + i * 9, 72 + bob}},
               Mat(kGold, 4));
    p.Ellipse(32, 86 + bob, 24, 17, Mat(kCrimson, 4));
    p.Ellipse(36, 94 + bob, 14, 7, NoOutline(Mat(kHaze, 5)));
    // Head and jaw; the jaw opens on the attack.
    const float open = attack ? (frame < 5 ? 6.0f : 2.0f) : 0.0f;
    p.Ellipse(52, 94 + bob + open * 0.5f, 9, 5, Mat(kCrimson, 3));
    p.Ellipse(50, 80 + bob, 12, 10, Mat(kCrimson, 4));
    p.Limb({54, 86 + bob}, {62, 88 + bob}, 4.5f, 3.5f, Mat(kStone, 4));  // nozzle snout
    if (open > 0) p.Circle(63, 89 + bob, 3, Mat(kFlame, 6));
    Eye(p, 53, 76 + bob, 3.0f, kLime, hurt);
    p.Poly({{44, 71 + bob}, {49, 64 + bob}, {51, 72 + bob}}, Mat(kCream, 5));  // horn
    // Near legs.
    Leg(p, {28, 98 + bob}, swing, 20, 8, 8, 5.0f, Mat(kCrimson, 3), Mat(kStone, 4), 111);
    Leg(p, {50, 98 + bob}, -swing, 20, 8, 8, 5.0f, Mat(kCrimson, 3), Mat(kStone, 4), 111);
}

// --- 10004: the spike crawler, creeping low, all spikes ---
void Crawler(Painter& p, int frame, bool hurt) {
    const float f = static_cast<float>(frame);
    const float ph = f / 7.0f * 2 * kPi;
    const float stretch = 4.0f * std::sin(ph);
    const float cx = 46 + stretch * 0.5f;
    const float rx = 30 + stretch, ry = 20 - stretch * 0.4f;
    const float cy = 121 - ry;
    // Spikes behind the shell.
    for (int i = 0; i < 7; ++i) {
        const float a = Rad(-150.0f + i * 20.0f);
        const Vec2 base{cx + std::cos(a) * rx * 0.8f, cy + std::sin(a) * ry * 0.8f};
        const Vec2 tip{cx + std::cos(a) * (rx + 13), cy + std::sin(a) * (ry + 14)};
        const Vec2 side{-std::sin(a) * 5, std::cos(a) * 5};
        p.Poly({Add(base, side), tip, Add(base, side, -1)}, Mat(kMetal, 5));
    }
    p.Ellipse(cx, cy, rx, ry, Mat(kTeal, 4));
    p.Ellipse(cx + 2, cy + ry * 0.55f, rx * 0.8f, ry * 0.35f, NoOutline(Mat(kLime, 4)));
    // Feet scuttling underneath.
    for (int i = 0; i < 4; ++i) {
        const float x = cx - 18 + i * 12 + 3 * std::sin(ph + i * 1.6f);
        p.Ellipse(x, 121, 4, 2.5f, Mat(kTeal, 2));
    }
    // Face at the front.
    p.Ellipse(cx + rx - 6, cy + 2, 10, 9, Mat(kTeal, 5));
    Eye(p, cx + rx - 4, cy - 1, 3.0f, kGold, hurt);
    p.Line({cx + rx - 6, cy + 6}, {cx + rx + 1, cy + 5}, kOutline);
}

// --- 10002: the rotor drone ---
void Drone(Painter& p, int frame, bool hurt) {
    const float bob = static_cast<float>((frame % 4 == 1 || frame % 4 == 2) ? 1 : 0);
    // Rotor: a blurred disc that alternates its blades.
    p.Limb({40, 52 + bob}, {40, 42 + bob}, 2, 2, Mat(kMetal, 3));
    const float blade = frame % 2 ? 30.0f : 22.0f;
    p.Ellipse(40, 40 + bob, blade, 3.0f, Mat(kMetal, 5));
    p.Ellipse(40, 40 + bob, 5, 3, Mat(kMetal, 2));
    // Body: a rounded pod with side fins and a bomb hatch.
    p.Poly({{14, 66 + bob}, {8, 80 + bob}, {18, 84 + bob}}, Mat(kScarf, 3));
    p.Poly({{66, 66 + bob}, {72, 80 + bob}, {62, 84 + bob}}, Mat(kScarf, 3));
    p.Ellipse(40, 72 + bob, 26, 19, Mat(kMetal, 4));
    p.Box(30, 88 + bob, 50, 100 + bob, Mat(kMetal, 2));
    p.Circle(40, 100 + bob, 5, Mat(kFlame, 4));
    p.Ellipse(48, 70 + bob, 11, 9, Mat(kNight, 2));
    Eye(p, 51, 70 + bob, 4.5f, kFire, hurt);
    for (int i = 0; i < 3; ++i) p.Dot(22 + i * 5, 80 + bob, Shade(kGold, 6));
}

// --- 10005: the bat wing, a flapping creature ---
void Bat(Painter& p, int frame, bool hurt) {
    const float ph = static_cast<float>(frame) / 7.0f * 2 * kPi;
    const float lift = std::cos(ph);  // 1 wings up, -1 wings down
    const float cy = 80 + lift * 3;
    auto wing = [&](float side, int shade) {
        const float tipY = cy - 8 - lift * 30;
        const float tipX = 40 + side * 38;
        p.Poly({{40 + side * 6, cy - 8},
                {tipX, tipY},
                {40 + side * 30, tipY + 18 + lift * 4},
                {40 + side * 22, cy + 6 - lift * 4},
                {40 + side * 10, cy + 8}},
               Mat(kDusk, 3 + shade));
        p.Line({40 + side * 8, cy - 6}, {tipX, tipY}, Shade(kDusk, 1));
    };
    wing(-1, -1);
    p.Ellipse(40, cy + 4, 14, 17, Mat(kDusk, 4));
    p.Ellipse(41, cy + 10, 8, 10, NoOutline(Mat(kPink, 4)));
    // Ears and face.
    p.Poly({{32, cy - 10}, {30, cy - 22}, {38, cy - 12}}, Mat(kDusk, 4));
    p.Poly({{44, cy - 12}, {50, cy - 22}, {50, cy - 8}}, Mat(kDusk, 4));
    Eye(p, 46, cy - 4, 3.0f, kLime, hurt);
    Eye(p, 36, cy - 4, 2.4f, kLime, hurt);
    p.Poly({{40, cy + 3}, {44, cy + 3}, {42, cy + 7}}, Mat(kCream, 6));  // fang
    wing(1, 0);
    // Claws holding the bomb.
    p.Limb({36, cy + 19}, {35, cy + 26}, 2, 1.5f, Mat(kDusk, 2));
    p.Limb({46, cy + 19}, {47, cy + 26}, 2, 1.5f, Mat(kDusk, 2));
}

// Flips a finished frame upside down (a tumbling, defeated enemy).
void FlipVertical(Canvas& c) {
    for (int y = 0; y < c.Height() / 2; ++y)
        for (int x = 0; x < c.Width(); ++x) {
            const uint8_t a = c.Get(x, y), b = c.Get(x, c.Height() - 1 - y);
            c.Set(x, y, b);
            c.Set(x, c.Height() - 1 - y, a);
        }
}

}  // namespace

void DrawEnemyFrame(int32_t type, int32_t row, int32_t frame, Canvas& c) {
    Painter p(c);
    const int defeatRow = type == 10004 ? 1 : (type == 10002 || type == 10005 ? -1 : 2);
    const bool defeat = row == defeatRow;
    const int pose = defeat ? 0 : frame;
    const int poseRow = defeat ? 0 : row;
    switch (type) {
        case 10001:
            Lobber(p, poseRow, pose, defeat);
            break;
        case 10002:
            Drone(p, frame, false);
            break;
        case 10003:
            Flamer(p, poseRow, pose, defeat);
            break;
        case 10004:
            Crawler(p, defeat ? frame : frame, defeat);
            break;
        case 10005:
            Bat(p, frame, false);
            break;
        case 10006:
            Sentry(p, poseRow, pose, defeat);
            break;
        default:
            break;
    }
    if (defeat) {
        // Tumbling: every other frame upside down, stars around the body.
        if (frame % 2 == 1) FlipVertical(c);
        Painter q(c);
        Stars(q, c.Width() / 2.0f, c.Height() - 50.0f, frame);
    }
}

}  // namespace zoa::databuild
