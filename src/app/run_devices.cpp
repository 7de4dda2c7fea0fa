#include "app/run_devices.h"

#include "video/logo_player.h"

namespace zoa {

RunDevices::RunDevices(std::unique_ptr<platform::Platform> platform)
    : platform_(std::move(platform)) {}

RunDevices::~RunDevices() {
    CloseLogo();
    ReleaseDisplayAndSound();
    if (platform::Current() == platform_.get()) platform::SetCurrent(nullptr);
}

void RunDevices::MakeCurrent() {
    platform::SetCurrent(platform_.get());
}

Display& RunDevices::OpenDisplay() {
    display_ = std::make_unique<Display>(platform_.get());
    g_display = display_.get();
    return *display_;
}

void RunDevices::ReleaseDisplayAndSound() {
    display_.reset();
    sound.reset();
}

}  // namespace zoa
