// The player's shot (100), thrown in a long arc, the spark (101) it leaves
// where it ends and the burst (102) that follows the spark, which now and
// then throws a new shot of its own.
#include <algorithm>

#include "sim/flight_arc.h"
#include "sim/game_state.h"
#include "sim/probe_points.h"
#include "sim/random.h"
#include "sim/shot_rules.h"
#include "sim/spawn_sprite.h"
#include "sim/sprite_pool.h"
#include "sim/sprite_types.h"

namespace zoa {

namespace {

// The arc (16 k² - 480 k) / 100: 36 pixels up at k = 15, back at k = 30.
constexpr int32_t kArcA = 16;
constexpr int32_t kArcB = 480;
constexpr int32_t kArcD = 100;
constexpr int32_t kFootLine = 2;     // the floor probe lies this far above the bottom edge
constexpr int32_t kLandingStep = 4;  // a shot that meets the floor ends this far lower
constexpr int32_t kSparkDrop = 4;    // pixels a spark drops per update
constexpr int32_t kSparkSettle = 2;  // and steps down onto a lower floor
// The burst's chance of a new shot is 1 in (10 - Level), worked out unsigned:
// 1 in 2 on stage 8, never on stage 9 (every draw leaves 0), and from stage 11
// on the divisor is huge, so only the draw 1 makes a shot.
constexpr int32_t kBurstChanceBase = 10;
constexpr uint32_t kBurstShotRoll = 1;

}  // namespace

void UpdatePlayerShot(int32_t index) {
    SpriteRecord& s = pool[index];
    s.row = 0;
    const int32_t x0 = s.x;
    FlyAcross(s, 2 * int64_t{game.Scr.h});
    if (SolidAt(CentreX(s), int64_t{s.y} + s.height)) {
        s.x = x0;
        ReplaceBy(index, kSpark);
        return;
    }
    const int32_t yOld = s.y;
    int32_t& k = s.frames[kFlightStepWord];
    MoveBy(k, 1);
    if (k < kArcSteps) {
        s.y = WrapAdd(s.frames[kFlightStartWord], ArcOffset(k, kArcA, kArcB, kArcD));
    }
    if (SolidAt(CentreX(s), int64_t{s.y} - kFootLine + s.height) || s.life < 1) {
        // A hit leaves the spark where the shot was; a floor, a little lower.
        s.y = s.life < 1 ? yOld : WrapAdd(yOld, kLandingStep);
        ReplaceBy(index, kSpark);
        return;
    }
    if (IsOffScreen(s)) RemoveSprite(index);
}

void UpdateSpark(int32_t index) {
    SpriteRecord& s = pool[index];
    if (AtLastFrameOfRow0(s)) {
        ReplaceBy(index, kBurst);
        return;
    }
    // A spark made by a hit has no life and stays where the hit was.
    if (s.life <= 0) return;
    const int32_t y0 = s.y;
    MoveBy(s.y, kSparkDrop);
    if (SolidAt(CentreX(s), int64_t{s.y} - kFootLine + s.height)) {
        s.y = y0;
        if (EmptyAt(CentreX(s), int64_t{s.y} + s.height)) MoveBy(s.y, kSparkSettle);
    }
}

void UpdateBurst(int32_t index) {
    SpriteRecord& s = pool[index];
    s.row = 0;
    if (IsOffScreen(s)) {
        RemoveSprite(index);
        return;
    }
    if (!AtLastFrameOfRow0(s)) return;
    const auto divisor = static_cast<uint32_t>(WrapSub(kBurstChanceBase, game.Level));
    const auto r = static_cast<uint32_t>(Random());
    // On stage 10 the divisor is 0: no new shot, though the draw is still made.
    if (divisor != 0 && r % divisor == kBurstShotRoll) SpawnSprite(index, kPlayerShot);
    RemoveSprite(index);
}

}  // namespace zoa
