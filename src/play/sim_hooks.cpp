// What the simulation's hooks do in the game: the play layer's own fade,
// frame and stage loader. Constant-initialised, so they are in place before
// any code runs, for the game, the tools and the tests alike.
#include "sim/sim_hooks.h"

#include "play/fade.h"
#include "play/run_frame.h"
#include "play/stage_loader.h"

namespace zoa {

SimHooks simHooks = {&FadeOutUntilTimer, &RunFrame, &LoadStage};

}  // namespace zoa
