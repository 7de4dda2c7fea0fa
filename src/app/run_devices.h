#pragma once
#include <memory>

#include "gfx/display.h"
#include "platform/platform.h"
#include "sound/sound_system.h"

namespace zoa {

// The devices of one run of the game: the platform (window, clock, sound
// output), the display and the sound system. This one object owns them and
// releases them, newest first, on every way out of the run, early returns
// included; the names the game reaches them by (platform::Current(),
// g_display, g_soundSystem) are cleared with them. The logo player is a
// global of its own (g_logo), not owned here; it is closed first, so its
// audio stream stops before the platform that plays it goes.
class RunDevices {
  public:
    explicit RunDevices(std::unique_ptr<platform::Platform> platform);
    ~RunDevices();
    RunDevices(const RunDevices&) = delete;
    RunDevices& operator=(const RunDevices&) = delete;

    platform::Platform& Platform() { return *platform_; }
    // From here on the game's code reaches the platform as platform::Current().
    void MakeCurrent();
    // Creates the display on the platform's window and makes it g_display.
    Display& OpenDisplay();
    // The window is gone: the display and the sound system go with it.
    void ReleaseDisplayAndSound();

    std::unique_ptr<SoundSystem> sound;

  private:
    std::unique_ptr<platform::Platform> platform_;
    std::unique_ptr<Display> display_;
};

}  // namespace zoa
