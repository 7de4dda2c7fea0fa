#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zoa {

struct Options {
    bool headless = false;
    bool window = false;     // start in a window instead of full screen
    std::string dataDir;     // the folder that holds data/ ("": search for it)
    std::string configFile;  // the settings file ("": the usual place)
    std::string saveDir;     // where the saved game and screenshots go
    std::string videoFile;   // record every shown picture as a video
    std::optional<uint32_t> seed;
    bool noLogo = false;
    bool noSound = false;            // play silently, without opening a sound device
    std::optional<uint64_t> frames;  // end after this many main-loop frames
    std::string dumpFile;
    std::string traceFile;
    std::string screenshotFile;
    std::optional<int32_t> playStage;  // start this stage at once, as a new game
    std::string replayFile;            // keys of a recorded run to play back
    std::string recordFile;            // where to write the keys of this run
    std::string editFile;              // open this stage source in the stage editor
    bool help = false;
    bool version = false;
    bool paths = false;    // print the folders in use and end
    bool timings = false;  // print how long start-up took once the title shows
};

// Parses the command line (without the program name). On a bad option or value
// returns nothing and puts the reason in *error.
std::optional<Options> ParseCommandLine(const std::vector<std::string>& args, std::string* error);

const char* UsageText();

}  // namespace zoa
