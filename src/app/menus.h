#pragma once
#include <cstdint>

namespace zoa {

// The title menu's keys: new game, continue, demo, quit.
void TitleMenuKey(uint32_t vk);

// The pause menu's keys over a running stage: save and resume, quit to the
// title, resume. (Both menus are drawn by play/menu_pictures.h.)
void PauseMenuKey(uint32_t vk);

// Starts stage `stage` as a new game: three lives, full life and gauge, the
// restart point where the player stands. False when the stage does not load;
// the title then stays (Level 1).
bool StartNewGame(int32_t stage);

}  // namespace zoa
