#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zoa::test {

// What FFmpeg makes of a video file (the logo the data builder writes, a
// recording the game made): every stream decoded to its end.
struct DecodedVideo {
    bool ok = false;    // opened, and every stream's decoder could be opened
    std::string codec;  // the video stream's decoder
    int width = 0;
    int height = 0;
    int frames = 0;                 // pictures of the video stream
    std::vector<int64_t> times;     // their times in milliseconds
    std::vector<uint8_t> lastLuma;  // the last picture's Y plane, width x height
    double seconds = 0;             // the file's duration
    int audioSamples = 0;           // per channel, all audio streams together
    int audioRate = 0;
    int audioChannels = 0;
};

DecodedVideo DecodeVideo(const std::string& path);

}  // namespace zoa::test
