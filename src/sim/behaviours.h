#pragma once
#include <array>
#include <cstdint>

namespace zoa {

// A behaviour moves one sprite for one update. It takes the pool index of its
// record and may change that record, the game state and the camera, make new
// sprites with SpawnSprite and remove its own record with RemoveSprite (never
// another's). The player's may also run a whole frame from inside its turn.
using Behaviour = void (*)(int32_t index);

// The behaviours of the four families, one file each. A family with more than
// one type looks at the record's type itself.
void UpdatePlayer(int32_t index);  // 10000
void UpdateEnemy(int32_t index);   // 10001..10006
void UpdateShot(int32_t index);    // 100..107, shots and effects
void UpdateItem(int32_t index);    // 1000..9998: pick-ups, pads, scenery, the sparkle

constexpr int32_t kEnemyTypeCount = 6;
constexpr int32_t kShotTypeCount = 8;

// Which behaviour runs for which type code: the player's, each enemy type's
// and each shot or effect type's in the behaviour step, and the item step's.
// An empty entry means the type has no behaviour: its record only animates.
// Tests put their own behaviours in and restore it with
// `behaviours = BehaviourTable{}`.
struct BehaviourTable {
    Behaviour player = UpdatePlayer;
    std::array<Behaviour, kEnemyTypeCount> enemies = {UpdateEnemy, UpdateEnemy, UpdateEnemy,
                                                      UpdateEnemy, UpdateEnemy, UpdateEnemy};
    std::array<Behaviour, kShotTypeCount> shots = {UpdateShot, UpdateShot, UpdateShot, UpdateShot,
                                                   UpdateShot, UpdateShot, UpdateShot, UpdateShot};
    Behaviour item = UpdateItem;
};

extern BehaviourTable behaviours;

// The behaviour step's entry for a type code: the player's, an enemy's or a
// shot's; null for every other code (items have their own step).
Behaviour BehaviourOf(int32_t type);

}  // namespace zoa
