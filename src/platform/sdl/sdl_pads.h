#pragma once
#include <SDL.h>

#include <array>
#include <cstdint>
#include <vector>

#include "platform/settings.h"

namespace zoa::platform {

class Platform;

// Game controllers, plugged in or out at any time, turned into the game's
// key messages: each button sends its game keys (the d-pad the arrows, A jump
// and Enter, ...), the left stick the arrows. A game key held by several
// buttons or pads goes down with the first and up with the last. Like a
// keyboard, the last key pressed repeats while it is held, so a held jump
// jumps again on landing. A pad pulled out lets go of everything it held.
// The practice tools have chords (the settings' pad_rewind and so on; by
// default Back held with a shoulder, Y, X, B or A): a chord's button goes to
// its tool, never to the game, until it is let go.
class SdlPads {
  public:
    static constexpr uint32_t kRepeatDelayMs = 500;
    static constexpr uint32_t kRepeatIntervalMs = 33;
    static constexpr int16_t kStickPress = 16000;
    static constexpr int16_t kStickRelease =
        12000;  // lower, so a stick at the edge does not chatter

    explicit SdlPads(Platform& platform) : platform_(platform) {}
    ~SdlPads();

    // Starts the controller system; false (reason on stderr) when it cannot.
    bool Start(const Settings& settings);
    void Stop();
    // Takes the controller events; false for any other event.
    bool HandleEvent(const SDL_Event& event);
    // Sends the repeats that are due.
    void Repeat(uint32_t now);
    // Takes each pad's left stick where it is now, for the page (the .cpp says why).
    void FollowSticks();
    // Milliseconds until the next repeat, or UINT32_MAX when none is due.
    uint32_t MsToNextRepeat(uint32_t now) const;
    int OpenCount() const { return static_cast<int>(pads_.size()); }

  private:
    enum Stick : uint8_t { kStickLeft = 1, kStickRight = 2, kStickUp = 4, kStickDown = 8 };
    struct Pad {
        SDL_GameController* controller = nullptr;
        SDL_JoystickID id = -1;
        uint32_t buttons = 0;   // bit per held button
        uint32_t practice = 0;  // bit per held button working a practice tool
        uint8_t stick = 0;      // Stick bits held
        std::array<uint8_t, SDL_CONTROLLER_BUTTON_MAX> tool{};  // the tool each works
    };
    struct Chord {
        SDL_GameControllerButton hold = SDL_CONTROLLER_BUTTON_INVALID;
        SDL_GameControllerButton button = SDL_CONTROLLER_BUTTON_INVALID;
    };

    // The practice tool `button` works now on `pad` (0: none). A chord with a
    // held button comes before one of the button alone.
    uint32_t ChordTool(const Pad& pad, int button) const;

    void Add(int deviceIndex);
    void Remove(SDL_JoystickID id);
    Pad* Find(SDL_JoystickID id);
    void Button(Pad& pad, int button, bool down);
    void Axis(Pad& pad, int axis, int value);
    void SetStick(Pad& pad, uint8_t bit, bool held);
    void Press(uint32_t vk, bool repeats);
    void Release(uint32_t vk);
    void ReleaseAll(Pad& pad);

    Platform& platform_;
    bool started_ = false;
    bool useStick_ = true;
    std::array<std::array<uint32_t, 2>, SDL_CONTROLLER_BUTTON_MAX> buttonKeys_{};
    std::array<Chord, Settings::kPracticeTools> chords_{};
    std::array<uint8_t, 256> held_{};  // sources holding each virtual key
    std::vector<Pad> pads_;
    uint32_t repeatVk_ = 0;
    uint32_t nextRepeat_ = 0;
};

}  // namespace zoa::platform
