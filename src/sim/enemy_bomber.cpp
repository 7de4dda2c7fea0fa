// The bombers, 10002 and 10005: they fly level and turn only at walls; from
// stage 11 on they also climb and sink on a 501-update cycle and turn on their
// own. Wherever the player is, they drop bombs at random.
#include "sim/enemy_kinds.h"
#include "sim/probe_points.h"
#include "sim/spawn_sprite.h"
#include "sim/sprite_pool.h"
#include "sim/sprite_types.h"

namespace zoa {

namespace {

constexpr int32_t kCycleLevel = 11;  // from this stage on bombers climb and sink
constexpr int32_t kCycleEnd = 500;   // the cycle count runs 0..500
constexpr int32_t kClimbUntil = 100;
constexpr int32_t kSinkAfter = 400;
constexpr int32_t kTurnRightAt = 150;
constexpr int32_t kTurnLeftAt = 350;
constexpr int32_t kHeadLine = 23;   // climbing stops where this line meets a ceiling
constexpr int32_t kFootLine = 2;    // probe lines above the bottom edge: feet
constexpr int32_t kWaistLine = 34;  // and a second one higher up
constexpr int32_t kBombAttackBase = 35;

// Climbs or sinks by the cycle; returns the cycle count k.
int32_t FollowCycle(SpriteRecord& b, const EnemyEntry& entry) {
    MoveBy(b.gauge, 1);
    if (b.gauge > kCycleEnd) b.gauge = 0;
    const int32_t k = b.gauge;
    const int64_t cx = CentreX(b);
    if (k < kClimbUntil) {
        MoveBy(b.y, -game.Scr.h);
        if (SolidAt(cx, int64_t{b.y} + kHeadLine)) b.y = entry.y0;
    } else if (k > kSinkAfter) {
        MoveBy(b.y, game.Scr.h);
        if (SolidAt(cx, int64_t{b.y} + b.height - kFootLine)) b.y = entry.y0;
    }
    return k;
}

bool WallAt(int64_t x, const SpriteRecord& b) {
    return SolidAt(x, int64_t{b.y} + b.height - kFootLine) ||
           SolidAt(x, int64_t{b.y} + b.height - kWaistLine);
}

// One step the way it faces; on the cycle's turning count, or at a wall, it
// goes back and turns.
void Fly(SpriteRecord& b, bool cycling, int32_t k, const EnemyEntry& entry) {
    if (b.dir == kFacingLeft) {
        MoveBy(b.x, -game.Scr.h);
        if (cycling && k == kTurnRightAt) {
            b.x = entry.x0;
            b.dir = kFacingRight;
        }
        if (WallAt(b.x, b)) {
            b.x = entry.x0;
            b.dir = kFacingRight;
        }
    } else if (b.dir == kFacingRight) {
        MoveBy(b.x, game.Scr.h);
        if (cycling && k == kTurnLeftAt) {
            b.x = entry.x0;
            b.dir = kFacingLeft;
        }
        if (WallAt(int64_t{b.x} + b.width, b)) {
            b.x = entry.x0;
            b.dir = kFacingLeft;
        }
    }
}

}  // namespace

void UpdateBomber(int32_t index, const EnemyEntry& entry) {
    SpriteRecord& b = pool[index];
    b.row = kEnemyWalkRow;
    const bool cycling = game.Level >= kCycleLevel;
    const int32_t k = cycling ? FollowCycle(b, entry) : 0;
    Fly(b, cycling, k, entry);
    if (AttackDrawPasses(kBombAttackBase)) SpawnSprite(index, kBombShot);
}

}  // namespace zoa
