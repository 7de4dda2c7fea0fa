#pragma once
#include <cstdint>

namespace zoa {

// Type codes of the sprite kinds, as records and stage files hold them.
constexpr int32_t kPlayerShot = 100;   // thrown by the player
constexpr int32_t kSpark = 101;        // where a player's shot ends
constexpr int32_t kBurst = 102;        // follows the spark
constexpr int32_t kWalkerShot = 103;   // shot of enemy 10001
constexpr int32_t kBombShot = 104;     // shot of enemies 10002 and 10005
constexpr int32_t kBombBurst = 105;    // end of a shot 104
constexpr int32_t kFlame = 106;        // flame of enemy 10003
constexpr int32_t kWalkerShotB = 107;  // shot of enemy 10006
constexpr int32_t kFirstShotType = kPlayerShot;
constexpr int32_t kLastShotType = kWalkerShotB;

constexpr int32_t kLifePickUp = 1000;
constexpr int32_t kSmallLifePickUp = 1001;
constexpr int32_t kGaugePickUp = 1002;
constexpr int32_t kLifePickUpB = 1003;
constexpr int32_t kSpringPad = 1007;
constexpr int32_t kFirstJumpPad = 1008;
constexpr int32_t kLastJumpPad = 1012;
constexpr int32_t kSparkle = 1013;  // left behind by a taken pick-up
constexpr int32_t kBigLifePickUp = 1014;
constexpr int32_t kExtraLifePickUp = 1015;

constexpr int32_t kPlayer = 10000;
constexpr int32_t kWalkerShooter = 10001;
constexpr int32_t kBomber = 10002;
constexpr int32_t kFlamer = 10003;
constexpr int32_t kCrawler = 10004;
constexpr int32_t kBomberB = 10005;
constexpr int32_t kWalkerShooterB = 10006;
constexpr int32_t kFirstEnemyType = kWalkerShooter;
constexpr int32_t kLastEnemyType = kWalkerShooterB;

inline bool IsShotType(int32_t type) {
    return type >= kFirstShotType && type <= kLastShotType;
}
inline bool IsEnemyType(int32_t type) {
    return type >= kFirstEnemyType && type <= kLastEnemyType;
}
// Pick-ups, pads, scenery and the sparkle: every code from 1000 below 9999.
inline bool IsItemType(int32_t type) {
    return type > 999 && type < 9999;
}

// Depth classes: the draw order (smaller first) and what a sprite touches.
constexpr int32_t kItemDepth = 10;
constexpr int32_t kEnemyDepth = 20;
constexpr int32_t kEffectDepth = 25;      // sparks 101 and bursts 102
constexpr int32_t kEnemyShotDepth = 30;   // 103, 104, 106, 107
constexpr int32_t kPlayerShotDepth = 35;  // 100
constexpr int32_t kPlayerDepth = 40;
constexpr int32_t kTopEffectDepth = 45;  // bursts 105

// The player's life and reserve gauge never stay above this.
constexpr int32_t kPlayerMaxLife = 500;
constexpr int32_t kPlayerMaxGauge = 500;
constexpr int32_t kMaxLives = 8;

}  // namespace zoa
