#include "platform/sdl/sdl_keys.h"

#include "platform/message.h"

namespace zoa::platform {

namespace {
constexpr uint32_t kShift = 16;
constexpr uint32_t kBackspace = 8;
constexpr uint32_t kTab = 9;
constexpr uint32_t kDelete = 46;
}  // namespace

uint32_t VirtualKey(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + static_cast<uint32_t>(key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + static_cast<uint32_t>(key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return vk::F1 + static_cast<uint32_t>(key - SDLK_F1);
    switch (key) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return vk::Enter;
        case SDLK_ESCAPE:
            return vk::Escape;
        case SDLK_SPACE:
            return vk::Space;
        case SDLK_LEFT:
            return vk::Left;
        case SDLK_UP:
            return vk::Up;
        case SDLK_RIGHT:
            return vk::Right;
        case SDLK_DOWN:
            return vk::Down;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return vk::Control;
        case SDLK_LALT:
        case SDLK_RALT:
            return vk::Menu;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return kShift;
        case SDLK_BACKSPACE:
            return kBackspace;
        case SDLK_TAB:
            return kTab;
        case SDLK_DELETE:
            return kDelete;
        default:
            return 0;
    }
}

uint32_t PracticeToolOfKey(SDL_Keycode key) {
    switch (key) {
        case SDLK_F6:
            return static_cast<uint32_t>(PracticeTool::SaveState);
        case SDLK_F7:
            return static_cast<uint32_t>(PracticeTool::LoadState);
        case SDLK_BACKSPACE:
            return static_cast<uint32_t>(PracticeTool::Rewind);
        case SDLK_F8:
            return static_cast<uint32_t>(PracticeTool::FrameAdvance);
        case SDLK_F9:
            return static_cast<uint32_t>(PracticeTool::StepFrame);
        case SDLK_F10:
            return static_cast<uint32_t>(PracticeTool::Overlay);
        default:
            return 0;
    }
}

bool IsReservedKey(SDL_Keycode key) {
    if (PracticeToolOfKey(key) != 0) return true;
    switch (VirtualKey(key)) {
        case vk::Enter:
        case vk::Control:
        case vk::Menu:
        case vk::Escape:
        case vk::Space:
        case vk::Left:
        case vk::Up:
        case vk::Right:
        case vk::Down:
        case vk::X:
        case vk::Z:
        case vk::F1:
        case vk::F5:
        case vk::F11:
        case vk::F12:
            return true;
        default:
            return false;
    }
}

void KeyMap::Bind(const std::vector<KeyBinding>& bindings, std::vector<std::string>* warnings) {
    bound_.clear();
    for (const KeyBinding& b : bindings) {
        const SDL_Keycode key = SDL_GetKeyFromName(b.key.c_str());
        if (key == SDLK_UNKNOWN) {
            if (warnings) warnings->push_back("bind." + b.key + ": no key has that name");
        } else if (IsReservedKey(key)) {
            if (warnings) {
                warnings->push_back("bind." + b.key + ": the game's own keys keep their meaning");
            }
        } else {
            bound_[key] = b.vk;
        }
    }
}

uint32_t KeyMap::Translate(SDL_Keycode key) const {
    const auto it = bound_.find(key);
    return it != bound_.end() ? it->second : VirtualKey(key);
}

}  // namespace zoa::platform
