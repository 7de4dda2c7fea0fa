#pragma once
#include <cstdint>
#include <vector>

#include "sim/demo_input.h"

namespace zoa::bot {

// What the hero holds or presses in a frame.
struct Move {
    int horizontal = 0;   // 1 right, -1 left, 0 neither
    bool jump = false;    // press the jump key
    bool fly = false;     // hold the up key
    bool fire = false;    // press the throw key
    bool charge = false;  // press the down key
    const char* name = "";
};

// Key presses and releases, fed to the game and, for the real run, recorded.
class Keys {
  public:
    explicit Keys(bool recording) : recording_(recording) {}

    bool Held(uint32_t key) const { return held_[key]; }
    // Takes `key` as held already, without an event (a trial starts from the run's keys).
    void Force(uint32_t key) { held_[key] = true; }
    const std::vector<InputRecord>& Records() const { return records_; }

    // The taps of the frame before go up again, so that they can be taken again.
    void LetGoOfTaps(uint32_t frame);

    // The events that make the game hold and press what `move` says.
    void Apply(const Move& move, uint32_t frame);

  private:
    void Press(uint32_t key, uint32_t frame);
    void Release(uint32_t key, uint32_t frame);
    void Feed(uint32_t key, bool down, uint32_t frame);

    bool recording_;
    bool held_[256] = {};
    std::vector<InputRecord> records_;
};

}  // namespace zoa::bot
