#pragma once

namespace zoa {

// Composes and shows one frame: the title picture while the title menu shows,
// otherwise the stage.
void RunFrame();

}  // namespace zoa
