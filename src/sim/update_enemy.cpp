#include <algorithm>
#include <array>
#include <cstddef>

#include "sim/behaviours.h"
#include "sim/enemy_kinds.h"
#include "sim/flight_arc.h"
#include "sim/probe_points.h"
#include "sim/random.h"
#include "sim/sprite_pool.h"
#include "sim/sprite_types.h"
#include "sound/sound_calls.h"

namespace zoa {

namespace {

// The six enemy types, 10001 to 10006, in order.
constexpr std::array<EnemyKind, kEnemyTypeCount> kEnemyKinds = {{
    {EnemyFamily::kWalkerShooter, 0, 160, 80, kWalkerShot, 2, &GameState::SoundN, 320, 10},
    {EnemyFamily::kBomber, 0, 0, 0, kBombShot, 0, &GameState::SoundL, 320, 20},
    {EnemyFamily::kFlamer, 0, 160, 48, kFlame, 2, &GameState::SoundM, 640, 20},
    {EnemyFamily::kCrawler, 1, 64, 0, 0, 1, &GameState::SoundL, 640, 20},
    {EnemyFamily::kBomber, 0, 0, 0, kBombShot, 0, &GameState::SoundL, 320, 20},
    {EnemyFamily::kWalkerShooter, 0, 160, 80, kWalkerShotB, 2, &GameState::SoundN, 320, 10},
}};

// Private words of an enemy's record during its defeat.
constexpr int32_t kDefeatStepWord = 3;    // t, 0 until the defeat starts
constexpr int32_t kDefeatOriginWord = 4;  // y where the defeat started
constexpr int32_t kDefeatArcA = 16;
constexpr int32_t kDefeatDrift = 8;
constexpr int32_t kBomberDefeatFacing = 3;  // drawn from sheetB, no drift
// n of the attack chance is raised to this when it lies in 0..4.
constexpr int32_t kSmallestAttackDivisor = 5;

// A defeated enemy plays its sound once, is thrown up and off in an arc,
// drifting the way it faced, and goes once it is wholly out of view.
void UpdateDefeat(int32_t index, const EnemyKind& kind) {
    SpriteRecord& e = pool[index];
    e.row = kind.defeatRow;
    int32_t& t = e.frames[kDefeatStepWord];
    if (t == 0) {
        RestartAnimation(e);
        e.frames[kDefeatOriginWord] = e.y;
        if (kind.family == EnemyFamily::kBomber) e.dir = kBomberDefeatFacing;
        PlaySound(game.*kind.defeatSound, 0);
    }
    if (e.dir == kFacingLeft) {
        MoveBy(e.x, -kDefeatDrift);
    } else if (e.dir == kFacingRight) {
        MoveBy(e.x, kDefeatDrift);
    }
    MoveBy(t, 1);
    if (t < kArcSteps) {
        e.y = WrapAdd(e.frames[kDefeatOriginWord], ArcOffset(t, kDefeatArcA, kind.arcB, kind.arcD));
    }
    if (IsOffScreen(e)) RemoveSprite(index);
}

}  // namespace

const EnemyKind& EnemyKindOf(int32_t type) {
    return kEnemyKinds[static_cast<size_t>(type - kFirstEnemyType)];
}

// 2 in n with n = base - Level. Past the stage where n goes negative it is
// taken as an unsigned 32-bit number, so only the draws 0 and 1 pass.
bool AttackDrawPasses(int32_t base) {
    const int32_t n = WrapSub(base, game.Level);
    const uint32_t divisor =
        n >= 0 && n < kSmallestAttackDivisor ? kSmallestAttackDivisor : static_cast<uint32_t>(n);
    return static_cast<uint32_t>(Random()) % divisor < 2;
}

void UpdateEnemy(int32_t index) {
    if (!IsEnemyType(pool[index].type)) return;
    const SpriteRecord& e = pool[index];
    const EnemyKind& kind = EnemyKindOf(e.type);
    const EnemyEntry entry{e.x, e.y, e.row};
    if (e.life < 1) {
        UpdateDefeat(index, kind);
    } else if (kind.family == EnemyFamily::kBomber) {
        UpdateBomber(index, entry);
    } else {
        UpdateGroundEnemy(index, kind, entry);
    }
}

}  // namespace zoa
