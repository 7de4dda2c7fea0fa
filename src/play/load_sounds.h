#pragma once
#include <cstdint>
#include <memory>

namespace zoa {

class SoundSystem;

// Creates the sound system in `owner` (releasing the one there first) on the
// platform's sound output, makes it the one that plays, and loads the
// nineteen sounds, setting SoundA..SoundO and Sound1..Sound4 to 1..19 in that
// order. 1 when all are loaded; 0 at the first that fails.
int32_t LoadSounds(std::unique_ptr<SoundSystem>& owner);

// The nineteen sound files in loading order, as the game names them.
int32_t SoundFileCount();
const char* SoundFilePath(int32_t i);

}  // namespace zoa
