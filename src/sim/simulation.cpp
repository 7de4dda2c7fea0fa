#include "sim/simulation.h"

namespace zoa {

Simulation sim;
GameState& game = sim.game;
WorldMap& world = sim.world;
SpritePool& pool = sim.pool;

}  // namespace zoa
