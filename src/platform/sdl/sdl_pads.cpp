#include "platform/sdl/sdl_pads.h"

#include <algorithm>
#include <cstdio>

#include "platform/message.h"
#include "platform/platform.h"

namespace zoa::platform {

namespace {
constexpr uint32_t kSubsystems = SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER;
}

SdlPads::~SdlPads() {
    Stop();
}

bool SdlPads::Start(const Settings& settings) {
    if (started_) return true;
    // Pads speak whichever window has the focus, as keys do for the game's
    // window: the game itself ignores input while it is in the background, and
    // a window manager that never says who has the focus must not silence them.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(kSubsystems) != 0) {
        std::fprintf(stderr, "zoa_noli: no game controllers: %s\n", SDL_GetError());
        return false;
    }
    started_ = true;
    useStick_ = settings.padStick;
    buttonKeys_ = {};
    for (const PadBinding& b : settings.padButtons) {
        const SDL_GameControllerButton button =
            SDL_GameControllerGetButtonFromString(b.button.c_str());
        if (button != SDL_CONTROLLER_BUTTON_INVALID) buttonKeys_[button] = b.vks;
    }
    for (size_t t = 0; t < chords_.size(); ++t) {
        const PadChord& c = settings.padTools[t];
        chords_[t] = {c.hold.empty() ? SDL_CONTROLLER_BUTTON_INVALID
                                     : SDL_GameControllerGetButtonFromString(c.hold.c_str()),
                      c.button.empty() ? SDL_CONTROLLER_BUTTON_INVALID
                                       : SDL_GameControllerGetButtonFromString(c.button.c_str())};
        // A chord whose held button has no name here is no chord at all.
        if (!c.hold.empty() && chords_[t].hold == SDL_CONTROLLER_BUTTON_INVALID)
            chords_[t].button = SDL_CONTROLLER_BUTTON_INVALID;
    }
    // Pads already plugged in arrive as "added" events, like those plugged in later.
    SDL_GameControllerEventState(SDL_ENABLE);
    return true;
}

void SdlPads::Stop() {
    if (!started_) return;
    for (Pad& pad : pads_) SDL_GameControllerClose(pad.controller);
    pads_.clear();
    held_ = {};
    repeatVk_ = 0;
    SDL_QuitSubSystem(kSubsystems);
    started_ = false;
}

SdlPads::Pad* SdlPads::Find(SDL_JoystickID id) {
    for (Pad& pad : pads_) {
        if (pad.id == id) return &pad;
    }
    return nullptr;
}

void SdlPads::Add(int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex)) return;
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    if (Find(id)) {
        SDL_GameControllerClose(controller);  // the same pad, announced twice
        return;
    }
    Pad pad;
    pad.controller = controller;
    pad.id = id;
    pads_.push_back(pad);
}

void SdlPads::Remove(SDL_JoystickID id) {
    Pad* pad = Find(id);
    if (!pad) return;
    ReleaseAll(*pad);
    SDL_GameControllerClose(pad->controller);
    pads_.erase(pads_.begin() + (pad - pads_.data()));
}

void SdlPads::ReleaseAll(Pad& pad) {
    for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) {
        if (pad.buttons & (1u << b)) Button(pad, b, false);
    }
    for (uint8_t bit : {kStickLeft, kStickRight, kStickUp, kStickDown}) SetStick(pad, bit, false);
}

void SdlPads::Press(uint32_t vk, bool repeats) {
    if (vk == 0 || vk >= held_.size()) return;
    if (held_[vk]++ == 0) platform_.PostMessage({MessageId::KeyDown, vk, 0});
    if (repeats) {
        repeatVk_ = vk;
        nextRepeat_ = SDL_GetTicks() + kRepeatDelayMs;
    }
}

void SdlPads::Release(uint32_t vk) {
    if (vk == 0 || vk >= held_.size() || held_[vk] == 0) return;
    if (--held_[vk] == 0) {
        platform_.PostMessage({MessageId::KeyUp, vk, 0});
        if (repeatVk_ == vk) repeatVk_ = 0;
    }
}

uint32_t SdlPads::ChordTool(const Pad& pad, int button) const {
    uint32_t alone = 0;
    for (size_t t = 0; t < chords_.size(); ++t) {
        const Chord& c = chords_[t];
        if (c.button != button) continue;
        const uint32_t tool = static_cast<uint32_t>(t + 1);
        if (c.hold == SDL_CONTROLLER_BUTTON_INVALID) {
            if (alone == 0) alone = tool;
        } else if (pad.buttons & (1u << c.hold)) {
            return tool;
        }
    }
    return alone;
}

void SdlPads::Button(Pad& pad, int button, bool down) {
    if (button < 0 || button >= SDL_CONTROLLER_BUTTON_MAX) return;
    const uint32_t bit = 1u << button;
    if (down == ((pad.buttons & bit) != 0)) return;
    pad.buttons ^= bit;
    // A button that went down as a tool's goes up as that tool's, even when
    // the held button was let go first.
    const uint32_t tool = down                   ? ChordTool(pad, button)
                          : (pad.practice & bit) ? pad.tool[button]
                                                 : 0;
    if (tool) {
        pad.practice ^= bit;
        pad.tool[button] = static_cast<uint8_t>(tool);
        platform_.PostMessage({down ? MessageId::PracticeDown : MessageId::PracticeUp, tool, 0});
        return;
    }
    const auto& keys = buttonKeys_[button];
    if (down) {
        // The first key repeats (the jump of "jump and Enter", never Enter).
        for (size_t i = 0; i < keys.size(); ++i) Press(keys[i], i == 0);
    } else {
        for (uint32_t vk : keys) Release(vk);
    }
}

void SdlPads::SetStick(Pad& pad, uint8_t bit, bool held) {
    if (held == ((pad.stick & bit) != 0)) return;
    pad.stick ^= bit;
    const uint32_t vk = bit == kStickLeft    ? vk::Left
                        : bit == kStickRight ? vk::Right
                        : bit == kStickUp    ? vk::Up
                                             : vk::Down;
    if (held) {
        Press(vk, true);
    } else {
        Release(vk);
    }
}

void SdlPads::Axis(Pad& pad, int axis, int value) {
    if (!useStick_) return;
    // A flick from one side to the other lets go of the old side first.
    const auto follow = [&](uint8_t negative, uint8_t positive) {
        const int negativeAt = (pad.stick & negative) ? -kStickRelease : -kStickPress;
        const int positiveAt = (pad.stick & positive) ? kStickRelease : kStickPress;
        const bool toNegative = value < negativeAt;
        const bool toPositive = value > positiveAt;
        if (!toNegative) SetStick(pad, negative, false);
        if (!toPositive) SetStick(pad, positive, false);
        SetStick(pad, negative, toNegative);
        SetStick(pad, positive, toPositive);
    };
    if (axis == SDL_CONTROLLER_AXIS_LEFTX) follow(kStickLeft, kStickRight);
    if (axis == SDL_CONTROLLER_AXIS_LEFTY) follow(kStickUp, kStickDown);
}

bool SdlPads::HandleEvent(const SDL_Event& event) {
    if (!started_) return false;
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            Add(event.cdevice.which);
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            Remove(event.cdevice.which);
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (Pad* pad = Find(event.cbutton.which)) {
                Button(*pad, event.cbutton.button, event.type == SDL_CONTROLLERBUTTONDOWN);
            }
            return true;
        case SDL_CONTROLLERAXISMOTION:
            if (Pad* pad = Find(event.caxis.which)) Axis(*pad, event.caxis.axis, event.caxis.value);
            return true;
        default:
            return false;
    }
}

// A browser has no pad events, only each pad's state, which SDL reads with
// navigator.getGamepads() every time events are pumped, and it sends an axis
// only when its value changed. SDL takes the first value an axis sends for the
// axis at rest and keeps it without a motion event, so the first push of the
// stick after the pad was plugged in would never reach the game. The value it
// keeps is the stick's real position: the page follows that instead.
void SdlPads::FollowSticks() {
    for (Pad& pad : pads_) {
        for (const SDL_GameControllerAxis axis :
             {SDL_CONTROLLER_AXIS_LEFTX, SDL_CONTROLLER_AXIS_LEFTY})
            Axis(pad, axis, SDL_GameControllerGetAxis(pad.controller, axis));
    }
}

void SdlPads::Repeat(uint32_t now) {
    if (repeatVk_ == 0 || static_cast<int32_t>(now - nextRepeat_) < 0) return;
    platform_.PostMessage({MessageId::KeyDown, repeatVk_, 0});
    nextRepeat_ = now + kRepeatIntervalMs;
}

uint32_t SdlPads::MsToNextRepeat(uint32_t now) const {
    if (repeatVk_ == 0) return UINT32_MAX;
    const int32_t left = static_cast<int32_t>(nextRepeat_ - now);
    return left > 0 ? static_cast<uint32_t>(left) : 0;
}

}  // namespace zoa::platform
