#include "app/command_line.h"

#include <charconv>

namespace zoa {

namespace {

// Stage numbers go up to 899; index 900 is the saved game.
constexpr int32_t kLastPlayableStage = 899;

template <class Number>
bool ParseNumber(const std::string& text, Number& out) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end && !text.empty();
}

}  // namespace

const char* UsageText() {
    return "usage: zoa_noli [options]\n"
           "  --headless         run without a window or sound device, on a virtual clock\n"
           "                     (the settings file is checked as in a window, except the\n"
           "                     key bindings, which only a window uses)\n"
           "  --window           start in a window instead of full screen\n"
           "  --data DIR         the folder that holds data/ (default: beside the program,\n"
           "                     then the installed game's, then the current folder)\n"
           "  --config FILE      the settings file (default: ~/.config/zoa_noli/settings.ini,\n"
           "                     or settings.ini beside the program for a portable copy)\n"
           "  --save-dir DIR     where the saved game and screenshots go\n"
           "  --paths            print the folders and files in use, then end\n"
           "  --seed N           seed the random generator with N instead of the time\n"
           "  --no-logo          skip the opening logo\n"
           "  --nosound          play silently, without a sound device\n"
           "  --frames N         end once the main loop has run N frames (N from 1)\n"
           "  --dump FILE        at the end, write the game state as JSON\n"
           "  --trace FILE       after every frame, append the game state as one JSON line\n"
           "                     (for both, - is standard output)\n"
           "  --screenshot FILE  at the end, write the screen as a 640 x 480 PNG\n"
           "  --play N           skip the logo and the title and start stage N as a new game\n"
           "  --record FILE      write every key press and release of the run to FILE\n"
           "                     (the demo input format), counted in frames from the first\n"
           "                     frame (with --play, from the stage's start)\n"
           "  --replay FILE      play a recorded run back instead of live keys, from the same\n"
           "                     start, and end when its frames are used up; with the same\n"
           "                     --seed, --play and data a headless replay ends in the same state\n"
           "  --edit FILE.stage  open a stage source in the stage editor (a new stage when\n"
           "                     the file does not exist yet)\n"
           "  --video FILE       record every picture shown as a video (.mp4, or .webm)\n"
           "  --timings          once the title is on the screen, print how long start-up\n"
           "                     took, step by step, as one line on standard output\n"
           "  --help             show this text\n"
           "  --version          show the version\n"
           "Exit status: 0 after a normal end; 1 when start-up failed or a file asked for\n"
           "(--dump, --trace, --screenshot, --record, --video) could not be written, the\n"
           "run itself having gone ahead; 2 for a bad command line.\n"
           "Keys: arrows walk, fly (up) and charge (down); Ctrl or Z jumps; Space or X throws;\n"
           "Escape pauses; F5 switches sound; Alt+Enter or F11 switches full screen;\n"
           "F12 saves a screenshot. While a stage is played: F6 saves a state, F7 loads it,\n"
           "Backspace held rewinds, F8 holds the game and F9 steps a frame, F10 shows the\n"
           "keys held and the run's time. Game controllers, further keys, scaling and volumes:\n"
           "see the settings file.\n";
}

std::optional<Options> ParseCommandLine(const std::vector<std::string>& args, std::string* error) {
    Options o;
    const auto fail = [error](const std::string& why) {
        if (error) *error = why;
        return std::nullopt;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--headless") {
            o.headless = true;
        } else if (a == "--window") {
            o.window = true;
        } else if (a == "--no-logo") {
            o.noLogo = true;
        } else if (a == "--nosound") {
            o.noSound = true;
        } else if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else if (a == "--timings") {
            o.timings = true;
        } else if (a == "--paths") {
            o.paths = true;
        } else if (a == "--config") {
            if (!value(o.configFile) || o.configFile.empty()) return fail("--config needs a file");
        } else if (a == "--save-dir") {
            if (!value(o.saveDir) || o.saveDir.empty()) return fail("--save-dir needs a folder");
        } else if (a == "--video") {
#ifdef __EMSCRIPTEN__
            // A page has no file system to leave a video in.
            return fail("--video is not offered in the browser");
#endif
            if (!value(o.videoFile) || o.videoFile.empty()) return fail("--video needs a file");
        } else if (a == "--data") {
            if (!value(o.dataDir) || o.dataDir.empty()) return fail("--data needs a folder");
        } else if (a == "--seed") {
            uint32_t seed = 0;
            if (!value(v) || !ParseNumber(v, seed))
                return fail("--seed needs a number from 0 to 4294967295");
            o.seed = seed;
        } else if (a == "--frames") {
            uint64_t frames = 0;
            // No run can end before its first frame: 0 is refused, not run forever.
            if (!value(v) || !ParseNumber(v, frames) || frames == 0)
                return fail("--frames needs a whole number from 1");
            o.frames = frames;
        } else if (a == "--dump") {
            if (!value(o.dumpFile) || o.dumpFile.empty()) return fail("--dump needs a file");
        } else if (a == "--trace") {
            if (!value(o.traceFile) || o.traceFile.empty()) return fail("--trace needs a file");
        } else if (a == "--play") {
            int32_t stage = 0;
            if (!value(v) || !ParseNumber(v, stage) || stage < 1 || stage > kLastPlayableStage)
                return fail("--play needs a stage number from 1 to 899");
            o.playStage = stage;
        } else if (a == "--record") {
            if (!value(o.recordFile) || o.recordFile.empty()) return fail("--record needs a file");
        } else if (a == "--edit") {
            if (!value(o.editFile) || o.editFile.empty())
                return fail("--edit needs a stage source");
        } else if (a == "--replay") {
            if (!value(o.replayFile) || o.replayFile.empty()) return fail("--replay needs a file");
        } else if (a == "--screenshot") {
            if (!value(o.screenshotFile) || o.screenshotFile.empty())
                return fail("--screenshot needs a file");
        } else {
            return fail("unknown option " + a);
        }
    }
    if (!o.recordFile.empty() && !o.replayFile.empty())
        return fail("--record and --replay cannot go together");
    if (!o.editFile.empty() && (o.playStage || !o.recordFile.empty() || !o.replayFile.empty()))
        return fail("--edit goes with neither --play, --record nor --replay");
    return o;
}

}  // namespace zoa
