// Enemies that walk on the ground: the walker-shooters, the flamer and the
// crawler. They turn at walls and ledges, fall where nothing holds them, and
// when they see the player they attack (or, the crawler, pause) at random.
#include "sim/enemy_kinds.h"
#include "sim/probe_points.h"
#include "sim/spawn_sprite.h"
#include "sim/sprite_pool.h"

namespace zoa {

namespace {

constexpr int32_t kLedgeDepth = 8;  // how far below its feet a walker looks for ground
constexpr int32_t kFootLine = 2;    // feet probes lie this far above the bottom edge
constexpr int32_t kSettleStep = 2;  // a walker steps down this far onto a lower floor
constexpr int32_t kGroundAttackBase = 50;
constexpr int32_t kAttackLengthWord = 1;  // frames entry: length of the attack row

// Turns toward a floor that goes on: away from a drop at the front right,
// else away from one at the left.
void TurnAtLedges(SpriteRecord& e) {
    const int64_t below = int64_t{e.y} + e.height + kLedgeDepth;
    if (EmptyAt(int64_t{e.x} + e.width, below)) {
        e.dir = kFacingLeft;
    } else if (EmptyAt(e.x, below)) {
        e.dir = kFacingRight;
    }
}

// One step the way it faces; a wall at its feet sends it back and turns it.
void Walk(SpriteRecord& e, int32_t step, const EnemyEntry& entry) {
    const int64_t feet = int64_t{e.y} + e.height - kFootLine;
    if (e.dir == kFacingLeft) {
        MoveBy(e.x, -step);
        if (SolidAt(e.x, feet)) {
            e.x = entry.x0;
            e.dir = kFacingRight;
        }
    } else if (e.dir == kFacingRight) {
        MoveBy(e.x, step);
        if (SolidAt(int64_t{e.x} + e.width, feet)) {
            e.x = entry.x0;
            e.dir = kFacingLeft;
        }
    }
}

// Falls by the base step unless its centre stands on solid ground; a falling
// enemy does not move sideways.
void Fall(SpriteRecord& e, const EnemyEntry& entry) {
    MoveBy(e.y, game.Scr.h);
    const int64_t cx = CentreX(e);
    if (SolidAt(cx, int64_t{e.y} + e.height - kFootLine)) {
        e.y = entry.y0;
        if (EmptyAt(cx, int64_t{e.y} + e.height)) MoveBy(e.y, kSettleStep);
    } else {
        e.x = entry.x0;
        e.row = kEnemyWalkRow;
    }
}

// The player's whole frame overlaps the enemy's frame grown by the margin.
bool Sees(const SpriteRecord& e, const SpriteRecord& p, int32_t margin) {
    return int64_t{e.x} - margin < int64_t{p.x} + p.width &&
           int64_t{e.x} + e.width + margin > p.x &&
           int64_t{e.y} - margin < int64_t{p.y} + p.height &&
           int64_t{e.y} + e.height + margin > p.y;
}

// Faces the player when their centres are more than the margin apart.
void TurnToPlayer(SpriteRecord& e, const SpriteRecord& p, int32_t margin) {
    const int64_t own = CentreX(e);
    const int64_t player = CentreX(p);
    if (own + margin < player) e.dir = kFacingRight;
    if (player < own - margin) e.dir = kFacingLeft;
}

// Stands where the update began, showing the attack row.
void HoldInAttack(SpriteRecord& e, const EnemyEntry& entry) {
    e.x = entry.x0;
    e.y = entry.y0;
    e.row = kEnemyAttackRow;
}

bool AtAttacksLastFrame(const SpriteRecord& e) {
    return int64_t{e.frame} == int64_t{e.frames[kAttackLengthWord]} - 1;
}

// Seen the player and won the draw: start (or restart) the attack.
void StartAttack(int32_t index, const EnemyKind& kind, const EnemyEntry& entry) {
    SpriteRecord& e = pool[index];
    switch (kind.family) {
        case EnemyFamily::kWalkerShooter:
            TurnToPlayer(e, pool[game.PlayerIndex], kind.turnMargin);
            HoldInAttack(e, entry);
            RestartAnimation(e);
            break;
        case EnemyFamily::kFlamer:
            if (entry.row0 == kEnemyAttackRow) break;
            TurnToPlayer(e, pool[game.PlayerIndex], kind.turnMargin);
            HoldInAttack(e, entry);
            RestartAnimation(e);
            SpawnSprite(index, kind.shot);
            break;
        case EnemyFamily::kCrawler:
            e.x = entry.x0;
            e.y = entry.y0;
            break;
        case EnemyFamily::kBomber:
            break;
    }
}

// An attack that was showing when the update began: the walker-shooter shoots
// at its last frame and walks on, or holds still and may shoot; the flamer
// holds still until the last frame.
void GoOnWithAttack(int32_t index, const EnemyKind& kind, const EnemyEntry& entry) {
    SpriteRecord& e = pool[index];
    if (kind.family == EnemyFamily::kWalkerShooter) {
        if (AtAttacksLastFrame(e)) {
            SpawnSprite(index, kind.shot);
            return;
        }
        HoldInAttack(e, entry);
        if (AttackDrawPasses(kGroundAttackBase)) SpawnSprite(index, kind.shot);
    } else if (kind.family == EnemyFamily::kFlamer) {
        if (!AtAttacksLastFrame(e)) HoldInAttack(e, entry);
    }
}

}  // namespace

void UpdateGroundEnemy(int32_t index, const EnemyKind& kind, const EnemyEntry& entry) {
    SpriteRecord& e = pool[index];
    e.row = kEnemyWalkRow;
    TurnAtLedges(e);
    Walk(e, kind.walkStep != 0 ? kind.walkStep : game.Scr.h, entry);
    Fall(e, entry);
    if (IsPoolSlot(game.PlayerIndex) && Sees(e, pool[game.PlayerIndex], kind.sight) &&
        AttackDrawPasses(kGroundAttackBase)) {
        StartAttack(index, kind, entry);
    }
    if (entry.row0 == kEnemyAttackRow) GoOnWithAttack(index, kind, entry);
}

}  // namespace zoa
