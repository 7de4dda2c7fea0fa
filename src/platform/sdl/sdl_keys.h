#pragma once
#include <SDL.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/settings.h"

namespace zoa::platform {

// Maps a key to the virtual-key code the game and its recorded input use.
// Zero for keys the game has no name for.
uint32_t VirtualKey(SDL_Keycode key);

// The practice tool a key works (PracticeTool as a number: F6, F7, F8, F9,
// F10, Backspace), or 0.
uint32_t PracticeToolOfKey(SDL_Keycode key);

// True for the keys the game itself answers (arrows, Ctrl, Z, Space, X,
// Escape, Enter, F1, F5) and those the window keeps (Alt, F11, F12, the
// practice tools' keys): no binding may take them over.
bool IsReservedKey(SDL_Keycode key);

// The keys of a run: the original keys, plus the settings' further keys, each
// sending one of the game's virtual keys. The game only ever sees virtual
// keys, so recorded input is the same whichever key was pressed.
class KeyMap {
  public:
    // Takes the bindings that name a key and do not touch a reserved key;
    // the others are reported in *warnings.
    void Bind(const std::vector<KeyBinding>& bindings, std::vector<std::string>* warnings);
    uint32_t Translate(SDL_Keycode key) const;

  private:
    std::unordered_map<SDL_Keycode, uint32_t> bound_;
};

}  // namespace zoa::platform
