#pragma once
#include <cstdint>
#include <string>

namespace zoa {

namespace platform {
class Platform;
}
class RunTimer;

// The game keys the player holds, as the practice tools saw them go down and up.
struct HeldKeys {
    bool left = false;
    bool right = false;
    bool up = false;
    bool down = false;
    bool jump = false;
    bool throws = false;
};

// The lines the practice tools draw over the picture: when the overlay is on,
// the keys held, the run timer and the last splits with the best ones; and,
// on or off, the last line holds a notice of the tools for a moment.
class PracticeOverlay {
  public:
    // F10: the overlay on or off.
    void Toggle() { shown_ = !shown_; }
    // Shows `text` on the last line for the next kNoticeTurns turns.
    void Notice(std::string text);

    // One frame's turn: the lines made again and handed to the platform.
    void Update(platform::Platform& platform, const HeldKeys& keys, const RunTimer& timer,
                uint32_t now);
    // Whether a line changed since this was last asked.
    bool TakeChanged();
    // Every line emptied, as the run ends.
    void Clear(platform::Platform& platform);

    // A notice stays over the picture this many frames' turns (about two seconds).
    static constexpr uint32_t kNoticeTurns = 120;

  private:
    void SetLine(platform::Platform& platform, int line, const char* text);

    bool shown_ = false;
    std::string notice_;
    uint32_t noticeTurns_ = 0;
    bool changed_ = false;  // since the picture was last shown
};

}  // namespace zoa
