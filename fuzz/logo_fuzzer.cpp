// The opening logo: the bytes go to a file that the logo player opens and plays
// through its own FFmpeg path on a headless platform, as start-up does. A few
// pictures are enough to reach the decoders; a quit message then ends the run.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/headless/headless_platform.h"
#include "video/logo_player.h"

namespace {

constexpr int kPicturesPerInput = 12;

class CappedPlatform : public zoa::platform::HeadlessPlatform {
  protected:
    void ShowTrueColor(const uint32_t*) override {
        if (++pictures_ == kPicturesPerInput) PostQuitMessage(0);
    }

  private:
    int pictures_ = 0;
};

const std::string& LogoPath() {
    static const std::string path = [] {
        const char* folder = std::getenv("TMPDIR");
        return std::string(folder && *folder ? folder : "/tmp") + "/zoa_fuzz_logo_" +
               std::to_string(::getpid()) + ".avi";
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = LogoPath();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return 0;
    const bool written = std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written) return 0;
    CappedPlatform platform;
    zoa::LogoPlayer player;
    if (player.Open(&platform, 640, 480, 2, path)) player.Run(nullptr);
    player.Release();
    std::remove(path.c_str());
    return 0;
}
