#pragma once
#include <cstdint>

namespace zoa {

// The three places where a sprite update reaches past the simulation: a lost
// life darkens the screen and shows one whole frame at once, and an exit tile
// loads the next stage (replacing the pool being walked). The simulation
// calls them here, in the same order as always; the play layer above fills
// them in (play/sim_hooks.cpp), so no simulation file includes play.
struct SimHooks {
    // Fades the screen to black and sets window timer 1 to fade it back in.
    void (*fadeOut)();
    // Composes and shows one frame, nested inside the current one.
    void (*runFrame)();
    // Loads and starts stage `level`: 1, or 0 when there is no such stage.
    int32_t (*loadStage)(int32_t level);
};

extern SimHooks simHooks;

}  // namespace zoa
