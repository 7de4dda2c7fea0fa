#include "sim/behaviours.h"

#include <cstddef>

#include "sim/sprite_types.h"

namespace zoa {

BehaviourTable behaviours;

Behaviour BehaviourOf(int32_t type) {
    if (type == kPlayer) return behaviours.player;
    if (IsEnemyType(type)) return behaviours.enemies[static_cast<size_t>(type - kFirstEnemyType)];
    if (IsShotType(type)) return behaviours.shots[static_cast<size_t>(type - kFirstShotType)];
    return nullptr;
}

}  // namespace zoa
