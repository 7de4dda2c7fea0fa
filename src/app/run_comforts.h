#pragma once
#include <memory>

#include "app/command_line.h"

namespace zoa {

namespace platform {
class Platform;
}
class VideoRecorder;

// What a run sets up around the game before start-up: its folders, its
// settings and the video recording, none of which the game itself sees.
class RunComforts {
  public:
    RunComforts();
    ~RunComforts();

    // Sets the data folder, the user folder and the settings of the run, checks
    // that the data is complete and starts recording. 0, or the exit code with
    // the reason on stderr.
    int Prepare(const Options& options, platform::Platform& platform);
    // Finishes the video file and reports it; false when it could not be
    // completed (the reason is on stderr).
    bool Finish();

  private:
    platform::Platform* platform_ = nullptr;
    std::unique_ptr<VideoRecorder> video_;
    std::string videoFile_;
};

}  // namespace zoa
