#include "app/watch_demo_keys.h"

#include "platform/message.h"

namespace zoa {

namespace {
constexpr uint32_t kEnterFrame = 5;
constexpr uint32_t kFramesAfterTheDemo = 10;
}  // namespace

DemoInput KeysThatWatchTheDemo(uint32_t demoFrames) {
    using namespace platform;
    DemoInput keys;
    keys.records[0] = {1, vk::Right, 0, kKeyPress};
    keys.records[1] = {2, 0, vk::Right, kKeyRelease};
    keys.records[2] = {3, vk::Right, 0, kKeyPress};
    keys.records[3] = {4, 0, vk::Right, kKeyRelease};
    keys.records[4] = {kEnterFrame, vk::Enter, 0, kKeyPress};
    keys.records[5] = {kEnterFrame + 1, 0, vk::Enter, kKeyRelease};
    keys.RecordEndFrame = kEnterFrame + demoFrames + kFramesAfterTheDemo;
    return keys;
}

bool WriteKeysThatWatchTheDemo(const std::string& demoFile, const std::string& path,
                               uint32_t* demoFrames, std::string* error) {
    DemoInput demo;
    if (!ReadDemoFile(demoFile, demo, error)) return false;
    if (demoFrames) *demoFrames = demo.RecordEndFrame;
    return WriteDemoFile(path, KeysThatWatchTheDemo(demo.RecordEndFrame), error);
}

}  // namespace zoa
