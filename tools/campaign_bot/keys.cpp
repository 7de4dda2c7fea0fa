#include "keys.h"

#include "app/input.h"
#include "platform/message.h"
#include "sim/game_state.h"

namespace zoa::bot {

namespace vk = platform::vk;

void Keys::LetGoOfTaps(uint32_t frame) {
    for (uint32_t key : {vk::Z, vk::X, vk::Down}) Release(key, frame);
}

void Keys::Apply(const Move& move, uint32_t frame) {
    if (move.horizontal >= 0) Release(vk::Left, frame);
    if (move.horizontal <= 0) Release(vk::Right, frame);
    // A charge lets go of both walking flags: press again to walk on.
    if (move.horizontal > 0 && (!Held(vk::Right) || !game.RightHeld)) Press(vk::Right, frame);
    if (move.horizontal < 0 && (!Held(vk::Left) || !game.LeftHeld)) Press(vk::Left, frame);
    if (move.fly && (!Held(vk::Up) || !game.UpHeld)) Press(vk::Up, frame);
    if (!move.fly) Release(vk::Up, frame);
    if (move.jump && game.JumpReady) Press(vk::Z, frame);
    if (move.fire && game.FireReady) Press(vk::X, frame);
    if (move.charge && game.DownReady && !game.DownOn) Press(vk::Down, frame);
}

void Keys::Press(uint32_t key, uint32_t frame) {
    Feed(key, true, frame);
    held_[key] = true;
}

void Keys::Release(uint32_t key, uint32_t frame) {
    if (!held_[key]) return;
    Feed(key, false, frame);
    held_[key] = false;
}

void Keys::Feed(uint32_t key, bool down, uint32_t frame) {
    if (down) {
        OnKeyDown(key);
    } else {
        OnKeyUp(key);
    }
    if (recording_)
        records_.push_back({frame, down ? key : 0, down ? 0 : key, down ? kKeyPress : kKeyRelease});
}

}  // namespace zoa::bot
