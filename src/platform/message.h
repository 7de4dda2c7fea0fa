#pragma once
#include <cstdint>

namespace zoa::platform {

// The window messages the game handles. The values are those of the system the
// game was first written for, which keeps message traces familiar to porters.
enum class MessageId : uint32_t {
    None = 0x0000,
    Destroy = 0x0002,
    Close = 0x0010,
    Quit = 0x0012,
    ActivateApp = 0x001C,
    KeyDown = 0x0100,
    KeyUp = 0x0101,
    SysKeyDown = 0x0104,
    SysCommand = 0x0112,
    Timer = 0x0113,
    MouseMove = 0x0200,
    LButtonDown = 0x0201,
    LButtonUp = 0x0202,
    RButtonDown = 0x0204,
    RButtonUp = 0x0205,
    // A practice tool's key or button went down or up (wParam: the tool).
    // These never reach the game's key handlers and are never recorded.
    PracticeDown = 0x8001,
    PracticeUp = 0x8002,
};

// The practice tools, as sent in wParam of PracticeDown and PracticeUp.
enum class PracticeTool : uint32_t {
    SaveState = 1,     // F6
    LoadState = 2,     // F7
    Rewind = 3,        // Backspace, held
    FrameAdvance = 4,  // F8
    StepFrame = 5,     // F9
    Overlay = 6,       // F10
};

struct Message {
    MessageId id = MessageId::None;
    uint32_t wParam = 0;
    int32_t lParam = 0;
};

// System command asking for the window's menu from the keyboard.
constexpr uint32_t kScKeyMenu = 0xF100;

// Virtual-key codes the game uses; recorded input files store these values.
namespace vk {
constexpr uint32_t Enter = 13;
constexpr uint32_t Control = 17;
constexpr uint32_t Menu = 18;  // the Alt key
constexpr uint32_t Escape = 27;
constexpr uint32_t Space = 32;
constexpr uint32_t Left = 37;
constexpr uint32_t Up = 38;
constexpr uint32_t Right = 39;
constexpr uint32_t Down = 40;
constexpr uint32_t X = 88;
constexpr uint32_t Z = 90;
constexpr uint32_t F1 = 112;
constexpr uint32_t F5 = 116;
constexpr uint32_t F11 = 122;
constexpr uint32_t F12 = 123;
}  // namespace vk

// Mouse positions travel packed as in lParam: x in the low 16 bits, y above.
constexpr int32_t PackPoint(int32_t x, int32_t y) {
    return static_cast<int32_t>((static_cast<uint32_t>(y) << 16) |
                                (static_cast<uint32_t>(x) & 0xFFFF));
}

}  // namespace zoa::platform
