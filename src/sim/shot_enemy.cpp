// The enemies' shots: the thrown shots 103 and 107 of the walker-shooters, the
// bomb 104 with its burst 105, and the flame 106. Hits are marked by the
// contact pass (life 0); the shot reacts on its next update.
#include "sim/flight_arc.h"
#include "sim/game_state.h"
#include "sim/probe_points.h"
#include "sim/shot_rules.h"
#include "sim/sprite_pool.h"
#include "sim/sprite_types.h"

namespace zoa {

namespace {

// The thrown arc (16 k² - 240 k) / 15: 59 pixels up at k = 7 and 8, back at 15.
constexpr int32_t kArcA = 16;
constexpr int32_t kArcB = 240;
constexpr int32_t kArcD = 15;
constexpr int32_t kFootLine = 2;
// Bombs fall up to stage 4, fly straight on stages 5 to 9, and from stage 10
// on fly or fall by the parity of their pool slot.
constexpr uint32_t kLastFallingLevel = 4;
constexpr uint32_t kLastStraightLevel = 9;
constexpr int32_t kBombFallingFrame = 0;
constexpr int32_t kBombRightFrame = 2;
constexpr int32_t kBombLeftFrame = 3;
constexpr int32_t kDemoFlameSteps = 2;  // on the demo stage (Level 0) the flame moves 2 steps

bool BombFalls(int32_t index) {
    const uint32_t level = static_cast<uint32_t>(game.Level);
    if (level <= kLastFallingLevel) return true;
    if (level <= kLastStraightLevel) return false;
    return index % 2 == 1;
}

}  // namespace

void UpdateThrownShot(int32_t index) {
    SpriteRecord& s = pool[index];
    s.row = 0;
    FlyAcross(s, 2 * int64_t{game.Scr.h});
    if (SolidAt(CentreX(s), int64_t{s.y} + s.height)) {
        RemoveSprite(index);
        return;
    }
    int32_t& k = s.frames[kFlightStepWord];
    MoveBy(k, 1);
    if (k < kArcSteps) {
        s.y = WrapAdd(s.frames[kFlightStartWord], ArcOffset(k, kArcA, kArcB, kArcD));
    }
    if (SolidAt(CentreX(s), int64_t{s.y} + s.height) || s.life < 1 || IsOffScreen(s)) {
        RemoveSprite(index);
    }
}

void UpdateBombShot(int32_t index) {
    SpriteRecord& s = pool[index];
    s.row = 0;
    const int32_t x0 = s.x, y0 = s.y;
    if (BombFalls(index)) {
        s.frame = kBombFallingFrame;
        MoveBy(s.y, game.Scr.h);
        if (SolidAt(CentreX(s), int64_t{s.y} - kFootLine + s.height) || s.life < 1) {
            s.y = y0;
            ReplaceBy(index, kBombBurst);
            return;
        }
    } else {
        if (s.dir == kFacingLeft) s.frame = kBombLeftFrame;
        if (s.dir == kFacingRight) s.frame = kBombRightFrame;
        if (FlyAcross(s, 2 * int64_t{game.Scr.h}) &&
            (SolidAt(CentreX(s), int64_t{s.y} + s.height / 2) || s.life < 1)) {
            s.x = x0;
            ReplaceBy(index, kBombBurst);
            return;
        }
    }
    if (IsOffScreen(s)) RemoveSprite(index);
}

void UpdateBombBurst(int32_t index) {
    SpriteRecord& s = pool[index];
    s.row = 0;
    if (AtLastFrameOfRow0(s) || IsOffScreen(s)) RemoveSprite(index);
}

void UpdateFlame(int32_t index) {
    SpriteRecord& s = pool[index];
    s.row = 0;
    const int64_t steps = game.Level == 0 ? kDemoFlameSteps : game.Level;
    // The flame goes through walls and lasts one showing of its row.
    if (FlyAcross(s, steps * game.Scr.h) && AtLastFrameOfRow0(s)) {
        RemoveSprite(index);
        return;
    }
    if (IsOffScreen(s)) RemoveSprite(index);
}

}  // namespace zoa
