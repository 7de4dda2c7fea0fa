// zoa_perf: plays the title's demo headless in this process, drawing every
// frame, and measures what a player's machine pays for it: how long each play
// frame takes (update, composition and flip), against memcpy of the bytes a
// frame writes; how many frames a second the whole demo runs at; and the peak
// resident memory. Prints "name value" lines for tools/perf_report.sh.
//
//   zoa_perf --data BUILD
//   zoa_perf --data BUILD --write-watch-keys FILE  (only writes the keys that watch the demo)

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/game_app.h"
#include "app/watch_demo_keys.h"
#include "frame_bytes.h"
#include "platform/platform.h"
#include "sim/game_state.h"

namespace zoa {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kCopies = 2000;

// Times the gap between the pictures the game shows: one frame's update,
// composition and flip, whether the main loop or the demo's own loop runs it.
struct FrameTimes : platform::FrameSink {
    Clock::time_point first;
    Clock::time_point last;
    bool started = false;
    std::vector<double> playMs;  // one per frame shown while a stage plays
    uint64_t frames = 0;

    void OnPicture(const uint8_t*, const Palette&, uint32_t) override {
        const Clock::time_point now = Clock::now();
        if (started && game.TitleActive == 0 && game.PauseActive == 0)
            playMs.push_back(std::chrono::duration<double, std::milli>(now - last).count());
        if (!started) first = now;
        last = now;
        started = true;
        ++frames;
    }
    void OnTrueColor(const uint32_t*, uint32_t) override {}  // only the logo
};

double Percentile(std::vector<double> values, double share) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t at = std::min(values.size() - 1, static_cast<size_t>(share * values.size()));
    return values[at];
}

// memcpy of the bytes a play frame writes, timed one copy at a time like the frames.
double MedianCopyMs() {
    std::vector<uint8_t> from(kFrameBytes, 1), to(kFrameBytes);
    std::vector<double> ms;
    ms.reserve(kCopies);
    for (int i = 0; i < kCopies; ++i) {
        from[static_cast<size_t>(i) % kFrameBytes] = static_cast<uint8_t>(i);
        const Clock::time_point start = Clock::now();
        std::memcpy(to.data(), from.data(), kFrameBytes);
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        if (to[static_cast<size_t>(i) % kFrameBytes] != from[static_cast<size_t>(i) % kFrameBytes])
            return -1;
    }
    return Percentile(ms, 0.5);
}

long PeakResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

int Measure(const std::string& data) {
    const std::string scratch =
        (std::filesystem::temp_directory_path() / ("zoa_perf_" + std::to_string(::getpid())))
            .string();
    std::filesystem::create_directories(scratch);
    Options o;
    o.headless = true;
    o.noLogo = true;
    o.noSound = true;
    o.dataDir = data;
    o.seed = 1;
    o.saveDir = scratch;
    o.configFile = scratch + "/settings.ini";
    o.replayFile = scratch + "/demo_from_title.av";
    uint32_t demoFrames = 0;
    std::string why;
    if (!WriteKeysThatWatchTheDemo(data + "/data/map/DEMO.AV", o.replayFile, &demoFrames, &why)) {
        std::fprintf(stderr, "zoa_perf: the demo: %s\n", why.c_str());
        return 1;
    }

    FrameTimes times;
    times.playMs.reserve(demoFrames + 16);
    std::unique_ptr<platform::Platform> headless = platform::CreateHeadlessPlatform();
    headless->SetFrameSink(&times);
    const int code = RunGame(o, std::move(headless));
    // From the first picture to the last: the frames, not the start-up.
    const double seconds = std::chrono::duration<double>(times.last - times.first).count();
    std::filesystem::remove_all(scratch);
    if (code != 0 || times.playMs.empty()) {
        std::fprintf(stderr, "zoa_perf: the demo did not run (code %d)\n", code);
        return 1;
    }
    const double copyMs = MedianCopyMs();
    const double median = Percentile(times.playMs, 0.5);
    std::printf("demo_frames %llu\n", static_cast<unsigned long long>(times.frames));
    std::printf("demo_seconds %.3f\n", seconds);
    std::printf("demo_frames_per_second %.0f\n", times.frames / seconds);
    std::printf("play_frames %zu\n", times.playMs.size());
    std::printf("play_frame_median_ms %.4f\n", median);
    std::printf("play_frame_p99_ms %.4f\n", Percentile(times.playMs, 0.99));
    std::printf("play_frame_worst_ms %.4f\n",
                *std::max_element(times.playMs.begin(), times.playMs.end()));
    std::printf("frame_bytes %zu\n", kFrameBytes);
    std::printf("memcpy_median_ms %.4f\n", copyMs);
    std::printf("play_frame_over_memcpy %.1f\n", copyMs > 0 ? median / copyMs : 0.0);
    std::printf("peak_resident_kib %ld\n", PeakResidentKiB());
    return 0;
}

}  // namespace
}  // namespace zoa

int main(int argc, char** argv) {
    const std::string usage = "usage: zoa_perf --data BUILD [--write-watch-keys FILE]\n";
    if ((argc != 3 && argc != 5) || std::string(argv[1]) != "--data" ||
        (argc == 5 && std::string(argv[3]) != "--write-watch-keys")) {
        std::fputs(usage.c_str(), stderr);
        return 2;
    }
    const std::string data = argv[2];
    if (argc == 5) {
        // Only the keys that watch the demo from the title, for a run in a window.
        std::string why;
        if (zoa::WriteKeysThatWatchTheDemo(data + "/data/map/DEMO.AV", argv[4], nullptr, &why))
            return 0;
        std::fprintf(stderr, "zoa_perf: %s\n", why.c_str());
        return 1;
    }
    return zoa::Measure(data);
}
