// The window backend's comforts, on SDL's dummy video driver (no screen
// needed): bound keys, game controllers through SDL's virtual joysticks,
// F12 screenshots and the remembered full-screen choice. All of them must
// reach the game as the same virtual-key messages the original keys send.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/game_app.h"
#include "platform/message.h"
#include "platform/sdl/sdl_platform.h"
#include "png_reader.h"
#include "sim/game_state.h"
#include "sound_fixture.h"
#include "test_support.h"

namespace zoa::platform {
namespace {

namespace fs = std::filesystem;

struct Key {
    MessageId id;
    uint32_t vk;
    bool operator==(const Key&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Key& k) {
    const bool practice = k.id == MessageId::PracticeDown || k.id == MessageId::PracticeUp;
    return os << (practice ? "tool " : "")
              << (k.id == MessageId::KeyDown || k.id == MessageId::PracticeDown ? "down " : "up ")
              << k.vk;
}
Key ToolDown(PracticeTool tool) {
    return {MessageId::PracticeDown, static_cast<uint32_t>(tool)};
}
Key ToolUp(PracticeTool tool) {
    return {MessageId::PracticeUp, static_cast<uint32_t>(tool)};
}
Key Down(uint32_t vk) {
    return {MessageId::KeyDown, vk};
}
Key Up(uint32_t vk) {
    return {MessageId::KeyUp, vk};
}

class SdlInput : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        settingsPath = dir.str() + "/settings.ini";
    }
    void TearDown() override {
        if (joystick) SDL_JoystickClose(joystick);
        if (virtualPad >= 0) SDL_JoystickDetachVirtual(virtualPad);
        platform.reset();
    }

    SdlPlatform& Open(const std::string& settingsText) {
        test::WriteBytes(settingsPath,
                         std::vector<uint8_t>(settingsText.begin(), settingsText.end()));
        platform = std::make_unique<SdlPlatform>(WindowOptions{});
        platform->settingsFile().Load(settingsPath, &warnings);
        platform->SetUserFolder(dir.str());
        EXPECT_TRUE(platform->OpenWindow("test")) << SDL_GetError();
        Keys();  // the activation
        return *platform;
    }

    // The key and practice tool messages waiting in the queue, taken off it.
    std::vector<Key> Keys() {
        std::vector<Key> keys;
        Message m;
        while (platform->PeekMessage(m)) {
            platform->Queue().Take(m);
            if (m.id == MessageId::KeyDown || m.id == MessageId::KeyUp ||
                m.id == MessageId::PracticeDown || m.id == MessageId::PracticeUp)
                keys.push_back({m.id, m.wParam});
        }
        return keys;
    }

    static void PushKey(SDL_Keycode key, bool down, Uint16 mod = KMOD_NONE) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.sym = key;
        e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
        e.key.keysym.mod = mod;
        SDL_PushEvent(&e);
    }
    static void Tap(SDL_Keycode key) {
        PushKey(key, true);
        PushKey(key, false);
    }

    // Plugs in a virtual game controller with the standard buttons and axes.
    void PlugPad() {
        virtualPad =
            SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                      SDL_CONTROLLER_BUTTON_MAX, 0);
        ASSERT_GE(virtualPad, 0) << SDL_GetError();
        joystick = SDL_JoystickOpen(virtualPad);
        ASSERT_NE(joystick, nullptr) << SDL_GetError();
    }
    void UnplugPad() {
        SDL_JoystickClose(joystick);
        joystick = nullptr;
        SDL_JoystickDetachVirtual(virtualPad);
        virtualPad = -1;
    }
    void Button(SDL_GameControllerButton b, bool down) {
        SDL_JoystickSetVirtualButton(joystick, b, down ? 1 : 0);
    }
    void Axis(SDL_GameControllerAxis a, int16_t value) {
        SDL_JoystickSetVirtualAxis(joystick, a, value);
    }

    test::TempDir dir;
    std::string settingsPath;
    std::vector<std::string> warnings;
    std::unique_ptr<SdlPlatform> platform;
    int virtualPad = -1;
    SDL_Joystick* joystick = nullptr;
};

TEST_F(SdlInput, BoundKeysSendTheGameKeysAndTheOriginalKeysKeepTheirs) {
    Open(
        "bind.W = up\nbind.K = jump\nbind.Left Shift = throw\nbind.Z = left\nbind.Nosuchkey = "
        "up\n");
    // The file itself is fine; the window refuses the binding of Z (an original
    // key) and of a key without a name on stderr.
    ASSERT_EQ(warnings.size(), 0u);
    // The bound keys produce exactly the messages of the keys they stand for.
    for (SDL_Keycode k : {SDLK_w, SDLK_UP, SDLK_k, SDLK_z, SDLK_LSHIFT, SDLK_x}) Tap(k);
    EXPECT_EQ(Keys(), (std::vector<Key>{Down(vk::Up), Up(vk::Up), Down(vk::Up), Up(vk::Up),
                                        Down(vk::Z), Up(vk::Z), Down(vk::Z), Up(vk::Z), Down(vk::X),
                                        Up(vk::X), Down(vk::X), Up(vk::X)}));
    // A key that is not bound still goes to the game under its own name, as before.
    Tap(SDLK_q);
    EXPECT_EQ(Keys(), (std::vector<Key>{Down('Q'), Up('Q')}));
}

TEST_F(SdlInput, TheWindowsKeysNeverReachTheGameAndFullScreenIsRemembered) {
    SdlPlatform& p = Open("# mine\nfullscreen = no   # for now\n");
    EXPECT_FALSE(p.fullscreen());
    PushKey(SDLK_RETURN, true, KMOD_LALT);
    PushKey(SDLK_RETURN, false, KMOD_LALT);
    EXPECT_EQ(Keys(), std::vector<Key>{});
    EXPECT_TRUE(p.fullscreen());
    std::vector<uint8_t> bytes = test::ReadBytes(settingsPath);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "# mine\nfullscreen = yes  # for now\n");
    Tap(SDLK_F11);
    EXPECT_EQ(Keys(), std::vector<Key>{});
    EXPECT_FALSE(p.fullscreen());
    bytes = test::ReadBytes(settingsPath);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "# mine\nfullscreen = no  # for now\n");
    // The next start opens as the last one ended.
    platform.reset();
    SdlPlatform& again = Open(std::string(bytes.begin(), bytes.end()));
    EXPECT_FALSE(again.fullscreen());
}

TEST_F(SdlInput, F12SavesTheScreenIntoTheUserFolder) {
    SdlPlatform& p = Open("");
    Tap(SDLK_F12);  // nothing shown yet: nothing saved, nothing breaks
    EXPECT_EQ(Keys(), std::vector<Key>{});
    std::vector<uint8_t> picture(kScreenWidth * kScreenHeight, 7);
    picture[0] = 9;
    Palette palette{};
    palette[7] = {10, 20, 30, 0};
    palette[9] = {200, 100, 50, 0};
    p.Present(picture.data(), palette);
    Tap(SDLK_F12);
    Tap(SDLK_F12);
    EXPECT_EQ(Keys(), std::vector<Key>{});
    std::vector<fs::path> shots;
    for (const auto& e : fs::directory_iterator(dir.path() / "screenshots"))
        shots.push_back(e.path());
    ASSERT_EQ(shots.size(), 2u);  // two in one second get two names
    // The screen's own palette indices and the palette as shown, compressed.
    EXPECT_LT(test::ReadBytes(shots[0].string()).size(), picture.size() / 50);
    test::PngPicture png;
    ASSERT_TRUE(test::ReadPng(shots[0].string(), png));
    EXPECT_EQ(png.colourType, 3);
    EXPECT_EQ(png.width, kScreenWidth);
    EXPECT_EQ(png.pixels, picture);
    ASSERT_EQ(png.palette.size(), 768u);
    EXPECT_EQ(png.palette[9 * 3], 200);
    EXPECT_EQ(png.palette[7 * 3 + 2], 30);
}

TEST_F(SdlInput, AGameControllerPlaysAndMovesThroughTheMenusAsTheKeysDo) {
    SdlPlatform& p = Open("");
    PlugPad();
    Keys();
    EXPECT_EQ(p.padCount(), 1);
    // A confirms (Enter) and jumps (Z); B throws; X charges; Start pauses.
    Button(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_EQ(Keys(), (std::vector<Key>{Down(vk::Z), Down(vk::Enter)}));
    Button(SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_EQ(Keys(), (std::vector<Key>{Up(vk::Z), Up(vk::Enter)}));
    Button(SDL_CONTROLLER_BUTTON_B, true);
    Button(SDL_CONTROLLER_BUTTON_X, true);
    Button(SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_EQ(Keys(), (std::vector<Key>{Down(vk::X), Down(vk::Down), Down(vk::Escape)}));
    Button(SDL_CONTROLLER_BUTTON_B, false);
    Button(SDL_CONTROLLER_BUTTON_X, false);
    Button(SDL_CONTROLLER_BUTTON_START, false);
    EXPECT_EQ(Keys(), (std::vector<Key>{Up(vk::X), Up(vk::Down), Up(vk::Escape)}));

    // The d-pad and the stick are the arrows; one arrow held by both goes up
    // only when both let go.
    Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    Axis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
    EXPECT_EQ(Keys(), (std::vector<Key>{Down(vk::Left)}));
    Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    EXPECT_EQ(Keys(), std::vector<Key>{});
    Axis(SDL_CONTROLLER_AXIS_LEFTX, -14000);  // between the two thresholds: still held
    EXPECT_EQ(Keys(), std::vector<Key>{});
    // (A virtual pad reports only where it stands at each look, so the test
    // looks after every move.)
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    EXPECT_EQ(Keys(), (std::vector<Key>{Up(vk::Left)}));
    Axis(SDL_CONTROLLER_AXIS_LEFTY, 20000);
    EXPECT_EQ(Keys(), (std::vector<Key>{Down(vk::Down)}));
    Axis(SDL_CONTROLLER_AXIS_LEFTY, -20000);
    EXPECT_EQ(Keys(), (std::vector<Key>{Up(vk::Down), Down(vk::Up)}));
    Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    EXPECT_EQ(Keys(), (std::vector<Key>{Up(vk::Up), Down(vk::Right)}));
    Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
    EXPECT_EQ(Keys(), (std::vector<Key>{Up(vk::Right)}));

    // A held jump repeats like a held key (Enter does not), so the hero jumps
    // again on landing.
    Button(SDL_CONTROLLER_BUTTON_A, true);
    Keys();
    SDL_Delay(SdlPads::kRepeatDelayMs + 2 * SdlPads::kRepeatIntervalMs);
    std::vector<Key> repeats = Keys();
    ASSERT_FALSE(repeats.empty());
    for (const Key& k : repeats) EXPECT_EQ(k, Down(vk::Z));

    // Pulled out while A and the stick are held: the game is told both let go.
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    Keys();
    UnplugPad();
    std::vector<Key> released = Keys();
    std::sort(released.begin(), released.end(),
              [](const Key& a, const Key& b) { return a.vk < b.vk; });
    EXPECT_EQ(released, (std::vector<Key>{Up(vk::Enter), Up(vk::Right), Up(vk::Z)}));
    EXPECT_EQ(p.padCount(), 0);
    // Plugged in again, it works again.
    PlugPad();
    Keys();
    Button(SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_EQ(Keys(), (std::vector<Key>{Down(vk::Escape)}));
}

void PushWindowEvent(SDL_WindowEventID id) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = static_cast<Uint8>(id);
    SDL_PushEvent(&e);
}

// When the window loses the focus SDL queues a release of every held key ahead
// of the focus loss. The game must not take them: the hero walks on while the
// player is away, as the keys last said.
TEST_F(SdlInput, ReleasesMadeUpForAFocusLossNeverReachTheGame) {
    Open("");
    PushKey(SDLK_RIGHT, true);
    PushKey(SDLK_x, true);
    PushKey(SDLK_RIGHT, false);  // SDL's own, in its order: releases, then the loss
    PushKey(SDLK_x, false);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_EQ(Keys(), (std::vector<Key>{Down(vk::Right), Down(vk::X)}));
    // Back in front, the player's own releases count again, even one followed
    // by another focus loss once something else came between.
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    PushKey(SDLK_RIGHT, false);
    SDL_Event move{};
    move.type = SDL_MOUSEMOTION;
    SDL_PushEvent(&move);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_EQ(Keys(), (std::vector<Key>{Up(vk::Right)}));
}

TEST_F(SdlInput, PadButtonsFollowTheSettingsAndTheStickCanBeSwitchedOff) {
    Open("pad.a = jump\npad.y = refill sound\npad_stick = no\n");
    PlugPad();
    Keys();
    Button(SDL_CONTROLLER_BUTTON_A, true);
    Button(SDL_CONTROLLER_BUTTON_Y, true);
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    EXPECT_EQ(Keys(), (std::vector<Key>{Down(vk::Z), Down(vk::F1), Down(vk::F5)}));
}

TEST_F(SdlInput, PadChordsWorkThePracticeToolsAsTheSettingsSay) {
    Open("pad_rewind = rightshoulder\npad_load_state = back + rightshoulder\npad.back = refill\n");
    PlugPad();
    Keys();
    // (A virtual pad reports only where it stands at each look: the test
    // looks after every move.) Alone, the right shoulder rewinds; with Back
    // held it loads the state. Back sends its own game key all the same.
    const auto press = [&](SDL_GameControllerButton b, bool down) {
        Button(b, down);
        return Keys();
    };
    EXPECT_EQ(press(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true),
              std::vector<Key>{ToolDown(PracticeTool::Rewind)});
    EXPECT_EQ(press(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, false),
              std::vector<Key>{ToolUp(PracticeTool::Rewind)});
    EXPECT_EQ(press(SDL_CONTROLLER_BUTTON_BACK, true), std::vector<Key>{Down(vk::F1)});
    EXPECT_EQ(press(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true),
              std::vector<Key>{ToolDown(PracticeTool::LoadState)});
    // The defaults stand for what the file leaves: Back with Y saves, with B steps.
    EXPECT_EQ(press(SDL_CONTROLLER_BUTTON_Y, true),
              std::vector<Key>{ToolDown(PracticeTool::SaveState)});
    EXPECT_EQ(press(SDL_CONTROLLER_BUTTON_B, true),
              std::vector<Key>{ToolDown(PracticeTool::StepFrame)});
    // Back let go first: each button still ends the tool it began.
    EXPECT_EQ(press(SDL_CONTROLLER_BUTTON_BACK, false), std::vector<Key>{Up(vk::F1)});
    EXPECT_EQ(press(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, false),
              std::vector<Key>{ToolUp(PracticeTool::LoadState)});
    EXPECT_EQ(press(SDL_CONTROLLER_BUTTON_B, false),
              std::vector<Key>{ToolUp(PracticeTool::StepFrame)});
    // Without Back, B throws again.
    EXPECT_EQ(press(SDL_CONTROLLER_BUTTON_B, true), std::vector<Key>{Down(vk::X)});
}

// The whole game on the dummy screen, driven by a virtual controller: the
// pad moves the title menu's choice to "quit" and confirms it, as the keys would.
TEST_F(SdlInput, AVirtualControllerDrivesTheTitleMenuToTheEnd) {
    test::WriteFixtureData(dir.str());
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    PlugPad();
    Options options;
    options.noLogo = true;
    options.noSound = true;
    options.window = true;
    options.dataDir = dir.str();
    options.configFile = dir.str() + "/settings.ini";
    options.saveDir = dir.str() + "/saves";
    options.frames = 400;
    options.seed = 1;
    struct Script {
        SDL_Joystick* pad = nullptr;
        int frame = 0;
        std::vector<int32_t> choices;
    } script;
    script.pad = joystick;
    SetAfterFrameHook(
        [](void* context) {
            auto& s = *static_cast<Script*>(context);
            ++s.frame;
            const auto press = [&](SDL_GameControllerButton b, int at) {
                if (s.frame == at) SDL_JoystickSetVirtualButton(s.pad, b, 1);
                if (s.frame == at + 2) SDL_JoystickSetVirtualButton(s.pad, b, 0);
            };
            press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 5);
            press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 10);
            press(SDL_CONTROLLER_BUTTON_DPAD_LEFT, 15);
            press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 20);
            press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 25);
            press(SDL_CONTROLLER_BUTTON_A, 30);
            s.choices.push_back(game.TitleChoice);
        },
        &script);
    const int code = RunGame(options, std::make_unique<SdlPlatform>(WindowOptions{false}));
    SetAfterFrameHook(nullptr, nullptr);
    UnplugPad();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    EXPECT_EQ(code, 0);
    ASSERT_GE(script.choices.size(), 29u);
    EXPECT_EQ(script.choices[4], 0);
    EXPECT_EQ(script.choices[8], 1);
    EXPECT_EQ(script.choices[13], 2);
    EXPECT_EQ(script.choices[18], 1);
    EXPECT_EQ(script.choices[23], 2);
    EXPECT_EQ(script.choices[28], 3);
    // A on "quit" ended the game long before its 400 frames.
    EXPECT_LT(script.frame, 60);
    EXPECT_EQ(game.TitleChoice, 3);
}

}  // namespace
}  // namespace zoa::platform

namespace zoa::platform {
namespace {

TEST(FitPicture, EachScalingModeFillsTheOutputItsOwnWay) {
    // Room for 1x but not 2x: integer keeps 640 x 480 in the middle.
    Viewport v = FitPicture(640, 480, 1000, 700, ScaleMode::Integer);
    EXPECT_EQ((std::array<int, 4>{v.x, v.y, v.w, v.h}), (std::array<int, 4>{180, 110, 640, 480}));
    v = FitPicture(640, 480, 1000, 700, ScaleMode::Aspect);
    EXPECT_EQ((std::array<int, 4>{v.x, v.y, v.w, v.h}), (std::array<int, 4>{33, 0, 933, 700}));
    v = FitPicture(640, 480, 1000, 700, ScaleMode::Stretch);
    EXPECT_EQ((std::array<int, 4>{v.x, v.y, v.w, v.h}), (std::array<int, 4>{0, 0, 1000, 700}));
    // A 1920 x 1080 screen: 2x whole, or as high as it goes.
    v = FitPicture(640, 480, 1920, 1080, ScaleMode::Integer);
    EXPECT_EQ((std::array<int, 4>{v.x, v.y, v.w, v.h}), (std::array<int, 4>{320, 60, 1280, 960}));
    v = FitPicture(640, 480, 1920, 1080, ScaleMode::Aspect);
    EXPECT_EQ((std::array<int, 4>{v.x, v.y, v.w, v.h}), (std::array<int, 4>{240, 0, 1440, 1080}));
    // Smaller than 1x: integer shrinks with the aspect kept rather than cut.
    v = FitPicture(640, 480, 320, 400, ScaleMode::Integer);
    EXPECT_EQ((std::array<int, 4>{v.x, v.y, v.w, v.h}), (std::array<int, 4>{0, 80, 320, 240}));
}

class SdlWindowSize : public SdlInput {
  protected:
    // The colour shown at window pixel (x, y), as 0xRRGGBB.
    uint32_t Shown(int x, int y) {
        uint32_t pixel = 0;
        const SDL_Rect at{x, y, 1, 1};
        SDL_RenderReadPixels(platform->renderer(), &at, SDL_PIXELFORMAT_ARGB8888, &pixel, 4);
        return pixel & 0xFFFFFF;
    }
    // A black picture with one white game pixel at (10, 10).
    void ShowDot() {
        std::vector<uint8_t> picture(kScreenWidth * kScreenHeight, 0);
        picture[10 * kScreenWidth + 10] = 1;
        Palette palette{};
        palette[1] = {255, 255, 255, 0};
        platform->Present(picture.data(), palette);
    }
};

TEST_F(SdlWindowSize, TheWindowScaleSetsTheWindowAndPixelsStaySharp) {
    Open("fullscreen = no\nwindow_scale = 2\n");
    int w = 0, h = 0;
    SDL_GetWindowSize(platform->window(), &w, &h);
    EXPECT_EQ(w, 1280);
    EXPECT_EQ(h, 960);
    ShowDot();
    // Game pixel (10, 10) is window pixels 20..21 x 20..21, nothing around it.
    EXPECT_EQ(Shown(20, 20), 0xFFFFFFu);
    EXPECT_EQ(Shown(21, 21), 0xFFFFFFu);
    EXPECT_EQ(Shown(19, 20), 0u);
    EXPECT_EQ(Shown(22, 21), 0u);
    platform.reset();
    Open("fullscreen = no\nwindow_scale = 1\n");
    SDL_GetWindowSize(platform->window(), &w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
}

TEST_F(SdlWindowSize, StretchFillsAResizedWindowAndSmoothBlendsNeighbours) {
    Open("fullscreen = no\nwindow_scale = 1\nscaling = stretch\nfilter = smooth\n");
    SDL_SetWindowSize(platform->window(), 1280, 480);
    Keys();
    ShowDot();
    // Twice as wide, as high as before: the dot covers x 20..21 at y 10.
    EXPECT_NE(Shown(20, 10), 0u);
    EXPECT_NE(Shown(21, 10), 0u);
    // Smooth: the white spreads, fading, into the black beside it (nearest
    // would leave it black).
    const uint32_t edge = Shown(19, 10);
    EXPECT_GT(edge & 0xFF, 0u);
    EXPECT_LT(edge & 0xFF, 0xFFu);
}

// Closing the window with more input behind the close (Enter still pressed on
// "quit", a focus change, a fade tick): the window is gone, so none of it may
// reach the game, and the run ends cleanly.
TEST_F(SdlInput, InputQueuedBehindTheCloseIsNotHandled) {
    test::WriteFixtureData(dir.str());
    Options options;
    options.noLogo = true;
    options.noSound = true;
    options.window = true;
    options.dataDir = dir.str();
    options.configFile = dir.str() + "/settings.ini";
    options.saveDir = dir.str() + "/saves";
    options.frames = 400;
    options.seed = 1;
    int frame = 0;
    SetAfterFrameHook(
        [](void* context) {
            int& f = *static_cast<int*>(context);
            if (++f == 3) {
                for (int i = 0; i < 3; ++i) Tap(SDLK_RIGHT);  // to "quit"
            } else if (f == 6) {
                SDL_Event quit{};
                quit.type = SDL_QUIT;
                SDL_PushEvent(&quit);
                PushKey(SDLK_RETURN, true);
                PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
                PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
                PushKey(SDLK_RETURN, false);
                platform::Current()->PostMessage({MessageId::Timer, 1, 0});
            }
        },
        &frame);
    const int code = RunGame(options, std::make_unique<SdlPlatform>(WindowOptions{false}));
    SetAfterFrameHook(nullptr, nullptr);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(frame, 6);
    EXPECT_EQ(game.TitleChoice, 3);
}

}  // namespace
}  // namespace zoa::platform
