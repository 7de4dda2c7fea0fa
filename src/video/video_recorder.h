#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace zoa {

// Records every picture the game shows as a video file, for sharing a run or
// the demo: the 640 x 480 picture doubled to 1280 x 960 with sharp pixels
// (each game pixel one 2 x 2 block, so even the colour planes stay sharp),
// each picture shown at the moment the game showed it. The codec is the best
// the file's container and the installed FFmpeg allow: H.264 (libx264), then
// VP9 (libvpx), then MPEG-4 part 2; .webm files take VP9, other names MP4.
class VideoRecorder : public platform::FrameSink {
  public:
    static constexpr int32_t kZoom = 2;

    // Creates the file; null, with the reason in *error, when it cannot (FFmpeg
    // cannot be loaded, no encoder, no room to write).
    static std::unique_ptr<VideoRecorder> Open(const std::string& path, std::string* error);
    ~VideoRecorder() override;

    void OnPicture(const uint8_t* pixels, const Palette& palette, uint32_t ms) override;
    void OnTrueColor(const uint32_t* pixels, uint32_t ms) override;
    // Writes what the encoder still holds and closes the file.
    bool Finish(std::string* error);

    int64_t frames() const;
    const std::string& codec() const;

    struct Encoder;
    // Records through an encoder whose file is open (Open makes both).
    explicit VideoRecorder(std::unique_ptr<Encoder> encoder);

  private:
    std::unique_ptr<Encoder> encoder_;
};

}  // namespace zoa
