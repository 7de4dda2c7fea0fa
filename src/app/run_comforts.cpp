#include "app/run_comforts.h"

#include <cstdio>
#include <string>
#include <vector>

#include "app/game_app.h"
#include "app/run_folders.h"
#include "platform/data_path.h"
#include "platform/platform.h"
#include "video/video_recorder.h"

namespace zoa {

RunComforts::RunComforts() = default;

RunComforts::~RunComforts() {
    Finish();
}

int RunComforts::Prepare(const Options& options, platform::Platform& platform) {
    platform_ = &platform;
    const platform::Paths paths = ResolveRunPaths(options);
    SetDataRoot(paths.dataRoot);
    // A folder the caller gave the platform stands unless --save-dir names one.
    if (!paths.userFolder.empty() && (!options.saveDir.empty() || !platform.HasUserFolder())) {
        platform.SetUserFolder(paths.userFolder);
    }
    std::vector<std::string> warnings;
    platform.settingsFile().Load(paths.settingsFile, &warnings);
    for (const std::string& w : warnings) std::fprintf(stderr, "zoa_noli: %s\n", w.c_str());

    const std::string missing = FirstMissingDataFile(paths.dataRoot);
    if (!missing.empty()) {
        std::fprintf(stderr, "zoa_noli: %s\n", MissingDataMessage(paths, missing).c_str());
        return kExitStartupFailed;
    }
    if (!options.videoFile.empty()) {
        std::string error;
        video_ = VideoRecorder::Open(options.videoFile, &error);
        if (!video_) {
            std::fprintf(stderr, "zoa_noli: cannot record %s: %s\n", options.videoFile.c_str(),
                         error.c_str());
            return kExitStartupFailed;
        }
        videoFile_ = options.videoFile;
        platform.SetFrameSink(video_.get());
    }
    return kExitOk;
}

bool RunComforts::Finish() {
    if (!video_) return true;
    if (platform_) platform_->SetFrameSink(nullptr);
    std::string error;
    const bool finished = video_->Finish(&error);
    if (finished) {
        std::fprintf(stderr, "zoa_noli: %lld pictures recorded in %s (%s)\n",
                     static_cast<long long>(video_->frames()), videoFile_.c_str(),
                     video_->codec().c_str());
    } else {
        std::fprintf(stderr, "zoa_noli: the video %s is incomplete: %s\n", videoFile_.c_str(),
                     error.c_str());
    }
    video_.reset();
    return finished;
}

}  // namespace zoa
