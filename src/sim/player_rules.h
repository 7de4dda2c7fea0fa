#pragma once
#include <cstdint>

#include "sim/sprite_record.h"
#include "sim/wrap32.h"

namespace zoa {

// The numbers of the player's behaviour, in pixels unless said otherwise.

// Animation rows the player shows.
constexpr int32_t kPlayerStandRow = 0;
constexpr int32_t kPlayerWalkRow = 1;
constexpr int32_t kPlayerThrowRow = 2;
constexpr int32_t kPlayerChargeRow = 3;
constexpr int32_t kPlayerFlyRow = 4;
constexpr int32_t kPlayerAirRow = 5;
constexpr int32_t kPlayerPushRow = 6;
constexpr int32_t kPlayerLedgeRow = 7;

// While the player is alive, frames[4] and frames[7] hold the frame counts of
// the flying and ledge rows; once defeated they hold the fall's origin and the
// defeat's clock.
constexpr int32_t kFlyRowFrames = 4;
constexpr int32_t kLedgeRowFrames = 3;
constexpr int32_t kFallOriginWord = kPlayerFlyRow;
constexpr int32_t kDefeatClockWord = kPlayerLedgeRow;

constexpr int32_t kPlayerFacesRight = 0;
constexpr int32_t kPlayerFacesLeft = 2;

// Jump tops: a jump rises by (top - step) on each update.
constexpr int32_t kKeyJumpTop = 15;
constexpr int32_t kSpringJumpTop = 16;
constexpr int32_t kPadJumpTop = 12;

constexpr int32_t kWallPushOut = 4;
constexpr int32_t kChargePushOut = 16;
constexpr int32_t kSettleDrop = 2;  // onto a floor that lies a little lower

// The defeat: thrown up and off the screen on the curve (16 t^2 - 4000 t) / 400,
// swaying from side to side.
constexpr int32_t kDefeatSway = 8;
constexpr int32_t kDefeatSwayPeriod = 48;
constexpr int32_t kDefeatSwayRightPart = 25;            // sway right while t mod 48 is below this
constexpr int32_t kDefeatClockLimit = 580;              // the fall stops there
constexpr int32_t kDefeatClockStart = kLedgeRowFrames;  // what every live update leaves

// A respawn keeps a gauge above this; a lower one is refilled.
constexpr int32_t kKeptGaugeAbove = 300;

// The probe points: single pixels of the map tested under the player's record
// as it stands when the probe is made.
constexpr int32_t kSideInset = 50;

inline int32_t LeftColumn(const SpriteRecord& p) {
    return WrapAdd(p.x, kSideInset);
}
inline int32_t RightColumn(const SpriteRecord& p) {
    return WrapAdd(p.x, p.width, -kSideInset);
}
inline int32_t CentreColumn(const SpriteRecord& p) {
    return WrapAdd(p.x, p.width / 2);
}
inline int32_t BelowFeet(const SpriteRecord& p, int32_t dy) {
    return WrapAdd(p.y, p.height, dy);
}
inline int32_t FootLine(const SpriteRecord& p) {
    return BelowFeet(p, -2);
}
inline int32_t LedgeLine(const SpriteRecord& p) {
    return BelowFeet(p, 8);
}
inline int32_t WallLine(const SpriteRecord& p) {
    return BelowFeet(p, -20);
}
inline int32_t SettleLine(const SpriteRecord& p) {
    return BelowFeet(p, 0);
}
inline int32_t ThrowGroundLine(const SpriteRecord& p) {
    return BelowFeet(p, 2);
}
inline int32_t HeadLine(const SpriteRecord& p) {
    return WrapAdd(p.y, 72);
}

// The defeat of record i (life 0 or below), one update of it. g0 is the
// record's gauge at the start of the update.
void RunPlayerDefeat(int32_t index, int32_t g0);

// The player's feet are on an exit tile: on to the next stage, carrying life,
// gauge and lives over; back to the title after the last one.
void RunStageExit(int32_t life, int32_t g0);

}  // namespace zoa
