#pragma once
#include <cstdint>
#include <string>

namespace zoa::test {

// A small AVI made for tests: losslessly coded video whose every pixel colour
// comes from `color` (in one stream or two), and optionally 16-bit PCM audio
// (a square wave).
struct TestAvi {
    int width = 320;
    int height = 240;
    int fps = 10;
    int frames = 10;
    uint32_t (*color)(int frame, int x, int y) = nullptr;  // 0xRRGGBB
    int audioRate = 0;                                     // 0: no audio stream
    int audioChannels = 1;
    int audioMs = 0;
    bool secondVideo = false;  // a second video stream after the first, with the same frames
};

// False, with the reason in *error, when the file cannot be made.
bool WriteTestAvi(const std::string& path, const TestAvi& avi, std::string* error);

}  // namespace zoa::test
