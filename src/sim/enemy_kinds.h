#pragma once
#include <cstdint>

#include "sim/game_state.h"

namespace zoa {

// The four ways an enemy behaves; the six enemy types share them.
enum class EnemyFamily : int32_t {
    kWalkerShooter,  // walks, stops to play its attack row and shoots during it
    kBomber,         // flies level (from stage 11 also up and down) and drops bombs
    kFlamer,         // walks, stops and breathes one flame per attack
    kCrawler,        // walks slowly and hurts by touch
};

// What an enemy type does, walks and shows.
struct EnemyKind {
    EnemyFamily family;
    int32_t walkStep;    // pixels per update; 0 means the stage's base step Scr.h
    int32_t sight;       // the player is seen within this margin around the frame
    int32_t turnMargin;  // turns to the player only when its centre is farther away
    int32_t shot;        // the type it makes when attacking, 0 for none
    int32_t defeatRow;
    int32_t GameState::*defeatSound;
    int32_t arcB;  // the defeat arc (16 t² - arcB t) / arcD
    int32_t arcD;
};

// The kind of an enemy type (10001..10006).
const EnemyKind& EnemyKindOf(int32_t type);

// Where an enemy stood when its update began, for undoing a move.
struct EnemyEntry {
    int32_t x0;
    int32_t y0;
    int32_t row0;
};

// Rows an enemy shows while alive.
constexpr int32_t kEnemyWalkRow = 0;
constexpr int32_t kEnemyAttackRow = 1;

// One random draw against the stage: it passes with chance 2 in n, where
// n = base - Level, so attacks come more often on later stages. n is never
// below 5 (from stage base - 5 on the chance stays 2 in 5).
bool AttackDrawPasses(int32_t base);

// The behaviour of a living enemy of each family, after the update kept its
// entry state. They may remove nothing; only the defeat removes an enemy.
void UpdateGroundEnemy(int32_t index, const EnemyKind& kind, const EnemyEntry& entry);
void UpdateBomber(int32_t index, const EnemyEntry& entry);

}  // namespace zoa
