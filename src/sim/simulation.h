#pragma once
#include <cstddef>
#include <cstdint>

#include "sim/game_state.h"
#include "sim/sprite_pool.h"
#include "sim/world_map.h"

namespace zoa {

// Where the demo's replay stands: frames run so far and the next recorded
// key event to feed.
struct DemoPosition {
    uint32_t frame = 0;
    size_t next = 0;

    bool operator==(const DemoPosition&) const = default;
};

// Everything that decides what happens in play, as one value: the game state
// (menus, keys, camera, background offsets, the generator's state), the map
// and tile attributes, the sprite pool with its draw list, and the demo's
// position in its keys. Copy it to keep a moment of play, compare it to see
// whether two runs went the same way, assign a fresh one to start over.
// Devices (display, sound, window) and fixed data (sheets, the demo's
// recorded keys) are not part of it.
struct Simulation {
    GameState game;
    WorldMap world;
    SpritePool pool;
    DemoPosition demo;

    bool operator==(const Simulation&) const = default;
};

// The simulation the game runs. `game`, `world` and `pool` name its parts.
extern Simulation sim;

}  // namespace zoa
