#include "hero_art.h"

#include <cmath>

namespace zoa::databuild {

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kHipX = 60, kHipY = 80;
constexpr float kThigh = 10.5f, kShin = 10.5f;
constexpr float kUpperArm = 8, kForearm = 7;

float Rad(float deg) {
    return deg * kPi / 180.0f;
}
// Unit vector at `deg` from straight down, positive turning forward (+x).
Vec2 Dir(float deg) {
    return {std::sin(Rad(deg)), std::cos(Rad(deg))};
}
Vec2 Add(Vec2 a, Vec2 b, float k = 1) {
    return {a.x + b.x * k, a.y + b.y * k};
}

struct Body {
    Vec2 hip, up, fwd;
    Vec2 At(float forward, float upward) const {
        return {hip.x + fwd.x * forward + up.x * upward, hip.y + fwd.y * forward + up.y * upward};
    }
};

void DrawLeg(Painter& p, Vec2 hip, float angle, float knee, bool far) {
    const int shade = far ? -1 : 0;
    Vec2 kneeAt = Add(hip, Dir(angle), kThigh);
    Vec2 ankle = Add(kneeAt, Dir(angle - knee), kShin);
    if (ankle.y > 101.0f) {  // keep the boots on rows 100..104
        const float lift = ankle.y - 101.0f;
        kneeAt.y -= lift * 0.5f;
        ankle.y = 101.0f;
    }
    p.Limb(hip, kneeAt, 4.3f, 3.8f, Mat(kSuit, 3 + shade));
    p.Limb(kneeAt, ankle, 3.8f, 3.4f, Mat(kSuit, 3 + shade));
    const Vec2 toe = Add(ankle, Dir(angle - knee + 90), 3.0f);
    p.Ellipse(ankle.x + 1.5f + (toe.x - ankle.x) * 0.5f, ankle.y + 0.5f, 5.5f, 3.6f,
              Mat(kScarf, 4 + shade));
    p.Limb({ankle.x - 1, ankle.y - 3}, {ankle.x + 1, ankle.y - 3}, 2.6f, 2.6f,
           NoOutline(Mat(kCream, 4 + shade)));
}

void DrawArm(Painter& p, Vec2 shoulder, float angle, float elbow, bool far, bool bomb) {
    const int shade = far ? -1 : 0;
    const Vec2 elbowAt = Add(shoulder, Dir(angle), kUpperArm);
    const Vec2 hand = Add(elbowAt, Dir(angle + elbow), kForearm);
    p.Limb(shoulder, elbowAt, 3.4f, 3.0f, Mat(kSuit, 4 + shade));
    p.Limb(elbowAt, hand, 3.0f, 2.8f, Mat(kSuit, 4 + shade));
    if (bomb) {
        const Vec2 b = Add(hand, Dir(angle + elbow), 3.5f);
        p.Circle(b.x, b.y, 4.2f, Mat(kEnergy, 5));
        p.Dot(b.x - 2, b.y - 2, kWhite);
    }
    p.Circle(hand.x, hand.y, 3.4f, Mat(kCream, 5 + shade));
}

void DrawScarf(Painter& p, Vec2 neck, const HeroPose& pose) {
    // A knot at the neck and a tail trailing behind (to the left), rippling;
    // it hangs when still and streams out when moving.
    Vec2 at = neck;
    float r = 2.8f;
    const float droop = 60.0f - 55.0f * pose.scarfLift;  // degrees below horizontal
    for (int i = 0; i < 6; ++i) {
        const float wave = 16.0f * std::sin(pose.scarfWave + static_cast<float>(i) * 1.1f) *
                           (0.3f + pose.scarfLift);
        const float rad = Rad(180.0f - droop + wave);
        const Vec2 to{at.x + std::cos(rad) * 4.5f, at.y + std::sin(rad) * 4.5f};
        p.Limb(at, to, r, r - 0.35f, Mat(kScarf, 4));
        at = to;
        r -= 0.3f;
    }
}

void DrawFlame(Painter& p, Vec2 nozzle, Vec2 down, int length, int seed) {
    const float len = static_cast<float>(length);
    const Vec2 side{-down.y, down.x};
    const Vec2 tip = Add(nozzle, down, len);
    const float w = 5.0f + static_cast<float>(seed % 2);
    p.Poly({Add(nozzle, side, -w), Add(nozzle, side, w), tip}, Mat(kFire, 5));
    p.Poly(
        {Add(nozzle, side, -w + 1.5f), Add(nozzle, side, w - 1.5f), Add(nozzle, down, len * 0.65f)},
        NoOutline(Plain(kFlame, 6)));
    p.Poly({Add(nozzle, side, -1.2f), Add(nozzle, side, 1.2f), Add(nozzle, down, len * 0.35f)},
           NoOutline(Plain(kCream, 7)));
}

}  // namespace

void DrawHeroPose(Painter& p, const HeroPose& pose) {
    Body b;
    b.hip = {kHipX + pose.dx, kHipY + pose.dy};
    b.up = {std::sin(Rad(pose.lean)), -std::cos(Rad(pose.lean))};
    b.fwd = {std::cos(Rad(pose.lean)), std::sin(Rad(pose.lean))};

    const Vec2 shoulderFront = b.At(2.5f, 19.0f);
    const Vec2 shoulderBack = b.At(-2.0f, 19.5f);
    const Vec2 neck = b.At(-8.0f, 22.0f);
    const Vec2 head = b.At(2.0f, 36.0f);

    // Far side first: arm, scarf, leg.
    DrawArm(p, shoulderBack, pose.armBack + pose.lean, pose.elbowBack, true, false);
    DrawLeg(p, b.At(-2.5f, 2.0f), pose.legBack, pose.kneeBack, true);
    if (pose.scarfLift >= 0.5f) DrawScarf(p, neck, pose);

    // Jet pack on the back, flame below its nozzle.
    const Vec2 packTop = b.At(-14.0f, 24.0f);
    const Vec2 nozzle = b.At(-12.0f, 1.0f);
    if (pose.flame > 0) {
        const Vec2 down{-b.up.x, -b.up.y};
        DrawFlame(p, Add(nozzle, down, 3.0f), down, pose.flame, pose.flame);
    }
    p.Poly({b.At(-10.0f, 25.0f), b.At(-19.0f, 23.0f), b.At(-20.0f, 5.0f), b.At(-15.0f, 2.0f),
            b.At(-9.0f, 3.0f)},
           Mat(kMetal, 4));
    p.Limb(b.At(-15.5f, 4.0f), b.At(-13.0f, -1.5f), 3.0f, 2.4f, Mat(kMetal, 2));
    p.Limb(b.At(-19.0f, 20.0f), b.At(-19.5f, 9.0f), 1.3f, 1.3f, NoOutline(Plain(kScarf, 4)));
    (void)packTop;

    // Torso, belt, near leg.
    p.Limb(b.At(0.0f, 5.0f), b.At(0.0f, 16.0f), 10.0f, 9.5f, Mat(kSuit, 4));
    p.Limb(b.At(-9.0f, 4.0f), b.At(9.0f, 4.0f), 2.2f, 2.2f, Mat(kGold, 4));
    DrawLeg(p, b.At(2.5f, 2.0f), pose.legFront, pose.kneeFront, false);
    // Chest emblem.
    const Vec2 emblem = b.At(4.0f, 14.0f);
    p.Circle(emblem.x, emblem.y, 2.6f, Mat(kGold, 5));

    // A raised near arm goes behind the head so the face stays readable.
    const float handY = shoulderFront.y + Dir(pose.armFront + pose.lean).y * kUpperArm +
                        Dir(pose.armFront + pose.lean + pose.elbowFront).y * kForearm;
    const bool frontArmRaised = handY < shoulderFront.y - 4.0f;
    if (frontArmRaised)
        DrawArm(p, shoulderFront, pose.armFront + pose.lean, pose.elbowFront, false, pose.holdBomb);
    // Head: helmet, face, goggles, eye.
    p.Circle(head.x, head.y, 13.0f, Mat(kSuit, 4));
    const Vec2 face = Add(head, b.fwd, 4.5f);
    const Vec2 faceC = Add(face, b.up, -3.0f);
    p.Ellipse(faceC.x, faceC.y, 8.5f, 8.0f, Mat(kSkin, 4));
    const Vec2 goggle = Add(Add(head, b.up, 8.5f), b.fwd, 2.0f);
    p.Limb(Add(goggle, b.fwd, -9.0f), Add(goggle, b.fwd, 5.0f), 2.8f, 3.3f, Mat(kEnergy, 4));
    const Vec2 eye = Add(Add(faceC, b.fwd, 3.0f), b.up, 1.5f);
    if (pose.hurt) {
        p.Line({eye.x - 2, eye.y - 2}, {eye.x + 1, eye.y + 1}, kOutline);
        p.Line({eye.x - 2, eye.y + 1}, {eye.x + 1, eye.y - 2}, kOutline);
        p.Circle(eye.x + 1.0f, eye.y + 5.5f, 1.6f, NoOutline(Plain(kCrimson, 2)));
    } else if (pose.blink) {
        p.Line({eye.x - 1, eye.y}, {eye.x + 1, eye.y}, kOutline);
    } else {
        p.Dot(eye.x - 1, eye.y - 2, kOutline);
        p.Dot(eye.x, eye.y - 2, kOutline);
        p.Dot(eye.x - 1, eye.y - 1, kOutline);
        p.Dot(eye.x, eye.y - 1, kWhite);
        p.Dot(eye.x - 1, eye.y, kOutline);
        p.Dot(eye.x, eye.y, kOutline);
        p.Dot(eye.x - 1, eye.y + 1, kOutline);
        p.Dot(eye.x, eye.y + 1, kOutline);
        if (pose.worried) {
            p.Circle(eye.x + 1.5f, eye.y + 5.5f, 1.4f, NoOutline(Plain(kCrimson, 2)));
            p.Dot(head.x - 8, head.y - 2, kUiCyan);
            p.Dot(head.x - 8, head.y - 1, kUiCyan);
        } else {
            p.Line({eye.x - 1, eye.y + 5}, {eye.x + 2, eye.y + 5}, Shade(kSkin, 1));
        }
    }
    // Cheek blush.
    p.Dot(faceC.x + 5.0f, faceC.y + 3.0f, Shade(kSkin, 3));

    if (!frontArmRaised)
        DrawArm(p, shoulderFront, pose.armFront + pose.lean, pose.elbowFront, false, pose.holdBomb);
}

HeroPose HeroFramePose(int row, int frame) {
    HeroPose h;
    const float f = static_cast<float>(frame);
    switch (row) {
        case 0: {  // standing: a slow breath
            const float breath[5] = {0, 0, 1, 1, 0};
            h.dy = breath[frame % 5];
            h.armFront = 6 + breath[frame % 5] * 2;
            h.armBack = -6 - breath[frame % 5] * 2;
            h.legFront = 6;
            h.legBack = -6;
            h.blink = frame == 3;
            h.scarfWave = f * 1.2f;
            break;
        }
        case 1: {  // walking, 8 frames: contact, down, passing, up for each foot
            const float ph = f / 8.0f * 2 * kPi;
            h.legFront = 30 * std::sin(ph);
            h.legBack = -30 * std::sin(ph);
            h.kneeFront = 4 + 32 * std::fmax(0.0f, std::cos(ph));
            h.kneeBack = 4 + 32 * std::fmax(0.0f, -std::cos(ph));
            h.dy = 2.5f * std::fabs(std::sin(ph)) - 1.0f;
            h.armFront = -26 * std::sin(ph);
            h.armBack = 26 * std::sin(ph);
            h.elbowFront = h.elbowBack = 24;
            h.lean = 5;
            h.scarfLift = 0.55f;
            h.scarfWave = f * 0.9f;
            break;
        }
        case 2: {  // throw: wind up, over the top, release, follow through
            const float arm[8] = {-50, -120, 175, 130, 95, 70, 45, 20};
            const float lean[8] = {-6, -9, -4, 4, 10, 12, 8, 3};
            h.armFront = arm[frame % 8];
            h.elbowFront = frame < 3 ? 30 : 10;
            h.armBack = -lean[frame % 8] * 3;
            h.lean = lean[frame % 8];
            h.legFront = 20;
            h.kneeFront = 10;
            h.legBack = -18;
            h.kneeBack = 6;
            h.holdBomb = frame < 3;
            h.dy = 1;
            h.scarfWave = f;
            h.scarfLift = 0.2f;
            break;
        }
        case 3: {  // charge: a low dash with the fist forward
            h.lean = 24;
            h.dy = 3;
            h.legFront = 40;
            h.kneeFront = 40;
            h.legBack = -42;
            h.kneeBack = 8 + f * 2;
            h.armFront = 75;
            h.elbowFront = 5;
            h.armBack = -60;
            h.elbowBack = 30;
            h.scarfLift = 1;
            h.scarfWave = f * 1.6f;
            h.flame = 8 + (frame % 2) * 4;
            break;
        }
        case 4: {  // flying up on the jet
            const int flames[4] = {17, 23, 19, 25};
            h.flame = flames[frame % 4];
            h.dy = -1;
            h.lean = 4;
            h.legFront = -6;
            h.kneeFront = 18;
            h.legBack = -14;
            h.kneeBack = 22;
            h.armFront = 48 + (frame % 2) * 6;
            h.elbowFront = 20;
            h.armBack = -36;
            h.elbowBack = 30;
            h.scarfLift = 0.6f;
            h.scarfWave = f * 1.5f;
            break;
        }
        case 5: {  // in the air: tuck and stretch
            const float tuck = (1 - std::cos(f / 7.0f * 2 * kPi)) * 0.5f;
            h.dy = -3 * tuck;
            h.legFront = 20 + 40 * tuck;
            h.kneeFront = 20 + 70 * tuck;
            h.legBack = -10 + 10 * tuck;
            h.kneeBack = 10 + 40 * tuck;
            h.armFront = 100 - 30 * tuck;
            h.elbowFront = -10 + 30 * tuck;
            h.armBack = -70 + 20 * tuck;
            h.elbowBack = 20;
            h.scarfLift = 0.7f;
            h.scarfWave = f * 1.3f;
            break;
        }
        case 6: {  // pushing against a wall
            const float ph = f / 6.0f * 2 * kPi;
            h.lean = 22;
            h.dx = -2;
            h.legFront = 18 + 12 * std::sin(ph);
            h.kneeFront = 14 + 10 * std::fmax(0.0f, std::cos(ph));
            h.legBack = -30 - 8 * std::sin(ph);
            h.kneeBack = 4;
            h.armFront = 78;
            h.elbowFront = 20 + 4 * std::sin(ph);
            h.armBack = 68;
            h.elbowBack = 26;
            h.dy = 2 + std::fabs(std::sin(ph));
            h.scarfWave = f;
            break;
        }
        case 7: {  // teetering at a ledge
            const float wind[3] = {120, 170, 220};
            h.lean = 12;
            h.armFront = wind[frame % 3];
            h.elbowFront = 10;
            h.armBack = wind[(frame + 1) % 3] - 40;
            h.elbowBack = 10;
            h.legFront = 10;
            h.kneeFront = 14;
            h.legBack = -12;
            h.worried = true;
            h.scarfWave = f * 2;
            break;
        }
        case 9: {  // defeated: flung, flailing
            const float tilt[5] = {-18, -8, 4, -10, -22};
            h.lean = tilt[frame % 5];
            h.dy = -2;
            h.legFront = 30 + 10 * static_cast<float>(frame % 2);
            h.kneeFront = 50;
            h.legBack = -20;
            h.kneeBack = 40;
            h.armFront = 150 + 20 * static_cast<float>(frame % 2);
            h.elbowFront = 20;
            h.armBack = -150 + 15 * static_cast<float>(frame % 3);
            h.elbowBack = 20;
            h.hurt = true;
            h.scarfLift = 0.1f;
            h.scarfWave = f * 2;
            break;
        }
        default:
            break;
    }
    return h;
}

void DrawHeroFrame(Painter& p, int row, int frame) {
    DrawHeroPose(p, HeroFramePose(row, frame));
    if (row == 3) {  // speed streaks behind the dash and a glow ahead of the fist
        Canvas& c = p.Target();
        for (int i = 0; i < 6; ++i) {
            const int y = 52 + i * 11 + (frame % 2) * 3;
            const int x0 = 10 + (i * 7 + frame * 5) % 12;
            for (int x = x0; x < x0 + 12 + i * 2; ++x)
                if (!c.Opaque(x, y)) c.Set(x, y, i % 2 ? kWhite : Shade(kEnergy, 6));
        }
        const float gx = 95.0f + static_cast<float>(frame % 2);
        Painter q(c);
        q.Ellipse(gx, 63, 6.0f + static_cast<float>(frame % 2), 11, Mat(kEnergy, 5));
        q.Ellipse(gx + 1, 63, 3, 7, NoOutline(Plain(kCream, 7)));
    }
}

}  // namespace zoa::databuild
