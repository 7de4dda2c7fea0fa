#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/message.h"

namespace zoa {

namespace platform {
class Platform;
}

// The opening logo: an AVI file whose first video stream is drawn zoomed in
// the middle of the picture (with neighbouring frames beside it when they fit)
// while its first audio stream plays. The audio output's position is the
// clock; without audio (or without a sound device) the platform's millisecond
// clock is, so headless runs play it on their virtual clock. It cannot be
// skipped: while it plays, the window's messages come to LogoMessage, which
// ignores keys and clicks. The picture is shown in true colour, outside the
// game's palette.
class LogoPlayer {
  public:
    static constexpr int32_t kMaxStreams = 25;
    // A damaged header must not hold start-up forever.
    static constexpr int64_t kLongestLogoMs = 60000;

    LogoPlayer();
    ~LogoPlayer();

    // Opens the file and starts playing; false when there is nothing to play
    // (no file, not an AVI, no stream that can be shown or heard) or FFmpeg
    // cannot be loaded (said in one line on stderr).
    bool Open(platform::Platform* window, int32_t width, int32_t height, int32_t zoom,
              const std::string& path);
    // Plays to the end of the longest stream (true), or until a quit message
    // (false). Every other message goes to `dispatch`.
    using Dispatch = void (*)(const platform::Message&);
    bool Run(Dispatch dispatch);
    void HandleMessage(const platform::Message& message);
    // Stops the audio and releases the file.
    void Release();

    int64_t CurrentTime() const;

    int32_t width = 0;
    int32_t height = 0;
    int32_t zoom = 0;  // in quarters: 8 draws frames at twice their size
    int32_t streamCount = 0;
    int32_t videoStream = -1;  // first video stream that can be decoded
    int32_t audioStream = -1;  // first audio stream
    int64_t timeStart = 0;     // milliseconds
    int64_t timeEnd = 0;
    int64_t timeLength = 1;
    int32_t position = 0;  // 0..10000 of timeLength
    bool playing = false;
    bool audioPlaying = false;
    uint32_t playStartTick = 0;
    int64_t playStartTime = 0;

  private:
    struct Media;
    // The steps of Open: the file's stream table, its streams, their places
    // in the picture, the start of the clock.
    bool ReadStreamTable(Media& media);
    bool OpenStreams(Media& media);
    void LayOut(Media& media);
    void Start(platform::Platform& window);
    void Paint();
    int64_t Clock();
    uint32_t NextWait(int64_t time) const;

    platform::Platform* window_ = nullptr;
    std::unique_ptr<Media> media_;
    platform::Message pendingActivation_{};
    bool activationSeen_ = false;
};

extern LogoPlayer g_logo;

// Start-up's calls: OpenLogo(window, 640, 480, 2, path), then RunLogo only if
// it returned true. LogoPlaying tells the window procedure to hand every
// message to LogoMessage.
bool OpenLogo(platform::Platform* window, int32_t width, int32_t height, int32_t zoom,
              const std::string& path);
bool RunLogo(LogoPlayer::Dispatch dispatch);
bool LogoPlaying();
void LogoMessage(const platform::Message& message);
void CloseLogo();

}  // namespace zoa
