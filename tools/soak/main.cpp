// zoa_soak: plays every committed campaign run and the title's demo back to
// back in one process, headless, drawing every frame, until a number of frames
// have run (counted as pictures shown, one a frame). Each run must end exactly as it ended the
// first time (same stage, same hero position, same frame count): anything left over from one run
// that changes the next shows up here. Reports the resident memory after the first round and at the
// end, so a leak shows as growth. On a terminal a line tells the round, the run
// and the frames so far, and about how long is left.
//
//   zoa_soak --data BUILD --runs stages/runs [--frames 1000000]
//
// Exit code 0 when every run ended as the first time, 1 otherwise, 2 on usage.

#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/game_app.h"
#include "app/watch_demo_keys.h"
#include "platform/platform.h"
#include "progress_line.h"
#include "sim/game_state.h"
#include "sim/sprite_pool.h"

namespace zoa {
namespace {

constexpr int32_t kStageCount = 9;  // the eight stages and the epilogue
constexpr uint32_t kSeed = 1;       // the seed every committed run was recorded with

struct Run {
    std::string name;
    Options options;
};

// How a run ended: enough to tell a run that went another way.
struct Ending {
    uint64_t frames = 0;
    int32_t level = 0;
    int32_t titleActive = 0;
    int32_t lives = 0;
    int32_t heroX = 0;
    int32_t heroY = 0;
    int32_t sprites = 0;
    bool operator==(const Ending&) const = default;
};

// Resident and peak resident memory of this process, in KiB.
void ReadMemory(long& rssKiB, long& peakKiB) {
    rssKiB = peakKiB = -1;
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) rssKiB = std::atol(line.c_str() + 6);
        if (line.rfind("VmHWM:", 0) == 0) peakKiB = std::atol(line.c_str() + 6);
    }
}

// The progress line: where the soak is and about how long it has to go.
struct SoakProgress {
    tools::ProgressLine line;
    uint64_t wanted = 0;
    uint64_t before = 0;  // frames of the runs already played
    int round = 1;
    size_t run = 0;
    size_t runs = 0;
    const char* name = "";

    void Show(uint64_t pictures) {
        if (!line.Due()) return;
        const uint64_t done = before + pictures;
        // Past the frames wanted, the round still plays to its end.
        char left[48] = "finishing the round";
        if (done > 0 && done < wanted) {
            char time[32];
            tools::FormatSeconds(
                line.Elapsed() * static_cast<double>(wanted - done) / static_cast<double>(done),
                time, sizeof time);
            std::snprintf(left, sizeof left, "about %s left", time);
        }
        line.Show("soak: round %d, %s (run %zu of %zu), %llu of %llu frames, %s", round, name,
                  run + 1, runs, static_cast<unsigned long long>(done),
                  static_cast<unsigned long long>(wanted), left);
    }
};

// Counts the pictures the game shows: one a frame, whether the main loop or
// the demo's own loop runs it.
struct PictureCounter : platform::FrameSink {
    uint64_t pictures = 0;
    SoakProgress* progress = nullptr;
    void OnPicture(const uint8_t*, const Palette&, uint32_t) override {
        ++pictures;
        if (progress && pictures % 256 == 0) progress->Show(pictures);
    }
    void OnTrueColor(const uint32_t*, uint32_t) override {}  // only the logo
};

Ending Play(const Run& run, SoakProgress& progress) {
    PictureCounter counter;
    counter.progress = progress.line.Shown() ? &progress : nullptr;
    std::unique_ptr<platform::Platform> headless = platform::CreateHeadlessPlatform();
    headless->SetFrameSink(&counter);
    const int code = RunGame(run.options, std::move(headless));
    progress.line.Clear();
    if (code != 0)
        std::fprintf(stderr, "zoa_soak: %s ended with code %d\n", run.name.c_str(), code);
    Ending e;
    e.frames = counter.pictures;
    e.level = game.Level;
    e.titleActive = game.TitleActive;
    e.lives = game.Lives;
    e.sprites = game.Sprite_Getsu;
    if (game.PlayerIndex >= 0 && game.PlayerIndex < game.Sprite_Getsu) {
        e.heroX = pool[game.PlayerIndex].x;
        e.heroY = pool[game.PlayerIndex].y;
    }
    return e;
}

Options Headless(const std::string& data, const std::string& scratch) {
    Options o;
    o.headless = true;
    o.noLogo = true;
    o.noSound = true;
    o.dataDir = data;
    o.seed = kSeed;
    o.saveDir = scratch;
    o.configFile = scratch + "/settings.ini";
    return o;
}

int Soak(const std::string& data, const std::string& runs, uint64_t wanted) {
    const std::string scratch =
        (std::filesystem::temp_directory_path() / ("zoa_soak_" + std::to_string(::getpid())))
            .string();
    std::filesystem::create_directories(scratch);
    std::vector<Run> plan;
    for (int32_t n = 1; n <= kStageCount; ++n) {
        Run run{"stage " + std::to_string(n), Headless(data, scratch)};
        run.options.playStage = n;
        run.options.replayFile = runs + "/stage" + std::to_string(n) + ".av";
        plan.push_back(run);
    }
    Run demo{"the demo", Headless(data, scratch)};
    demo.options.replayFile = scratch + "/demo_from_title.av";
    std::string why;
    if (!WriteKeysThatWatchTheDemo(data + "/data/map/DEMO.AV", demo.options.replayFile, nullptr,
                                   &why)) {
        std::fprintf(stderr, "zoa_soak: the demo: %s\n", why.c_str());
        return 1;
    }
    plan.push_back(demo);

    std::vector<Ending> first(plan.size());
    uint64_t total = 0;
    int rounds = 0;
    int failures = 0;
    long rssFirst = 0, peakFirst = 0;
    const auto start = std::chrono::steady_clock::now();
    SoakProgress progress;
    progress.wanted = wanted;
    progress.runs = plan.size();
    while (total < wanted) {
        for (size_t i = 0; i < plan.size(); ++i) {
            progress.before = total;
            progress.round = rounds + 1;
            progress.run = i;
            progress.name = plan[i].name.c_str();
            const Ending e = Play(plan[i], progress);
            total += e.frames;
            if (rounds == 0) {
                first[i] = e;
                if (e.frames == 0) {
                    std::fprintf(stderr, "zoa_soak: %s ran no frames\n", plan[i].name.c_str());
                    ++failures;
                }
            } else if (!(e == first[i])) {
                std::fprintf(
                    stderr,
                    "zoa_soak: round %d: %s ended otherwise (frames %llu level %d x %d y %d)"
                    " than the first time (frames %llu level %d x %d y %d)\n",
                    rounds + 1, plan[i].name.c_str(), static_cast<unsigned long long>(e.frames),
                    e.level, e.heroX, e.heroY, static_cast<unsigned long long>(first[i].frames),
                    first[i].level, first[i].heroX, first[i].heroY);
                ++failures;
            }
        }
        if (rounds == 0) {
            ReadMemory(rssFirst, peakFirst);
            std::printf("round 1: %llu frames; resident %ld KiB, peak %ld KiB\n",
                        static_cast<unsigned long long>(total), rssFirst, peakFirst);
            for (size_t i = 0; i < plan.size(); ++i)
                std::printf("  %-9s %6llu frames, ends on level %d%s\n", plan[i].name.c_str(),
                            static_cast<unsigned long long>(first[i].frames), first[i].level,
                            first[i].titleActive ? " (title)" : "");
            std::fflush(stdout);
        }
        ++rounds;
        if (failures) break;
    }
    long rssEnd = 0, peakEnd = 0;
    ReadMemory(rssEnd, peakEnd);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%d rounds, %llu frames in %.0f s (%.0f frames/s)\n", rounds,
                static_cast<unsigned long long>(total), seconds, total / seconds);
    std::printf(
        "resident after round 1: %ld KiB (peak %ld KiB); at the end: %ld KiB (peak %ld KiB)\n",
        rssFirst, peakFirst, rssEnd, peakEnd);
    std::printf("%s\n", failures ? "FAILED" : "every run ended as the first time");
    std::filesystem::remove_all(scratch);
    return failures ? 1 : 0;
}

}  // namespace
}  // namespace zoa

int main(int argc, char** argv) {
    std::string data, runs;
    uint64_t frames = 1000000;
    bool understood = argc % 2 == 1;  // options come in pairs
    for (int i = 1; understood && i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const char* value = argv[i + 1];
        if (option == "--data")
            data = value;
        else if (option == "--runs")
            runs = value;
        else if (option == "--frames")
            frames = std::strtoull(value, nullptr, 10);
        else
            understood = false;
    }
    if (!understood || data.empty() || runs.empty() || frames == 0) {
        std::fprintf(stderr, "usage: zoa_soak --data BUILD --runs DIR [--frames N]\n");
        return 2;
    }
    return zoa::Soak(data, runs, frames);
}
