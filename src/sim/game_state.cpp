#include "sim/game_state.h"

namespace zoa {

GameState game;

}  // namespace zoa
