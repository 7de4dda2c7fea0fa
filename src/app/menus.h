#pragma once
#include <cstdint>

namespace zoa {

// The title menu: new game, continue, demo, quit.
void DrawTitle();
void TitleMenuKey(uint32_t vk);

// The pause menu over a running stage: save and resume, quit to the title, resume.
void DrawPauseMenu();
void PauseMenuKey(uint32_t vk);

// Starts stage `stage` as a new game: three lives, full life and gauge, the
// restart point where the player stands. False when the stage does not load;
// the title then stays (Level 1).
bool StartNewGame(int32_t stage);

}  // namespace zoa
