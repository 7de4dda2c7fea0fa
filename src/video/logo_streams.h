#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "video/ffmpeg_library.h"

namespace zoa {

// One stream of the logo file, read through a demuxer of its own so that the
// video and the audio can each be read at their own pace.
struct StreamDecoder {
    explicit StreamDecoder(const Ffmpeg& functions) : ff(functions) {}
    ~StreamDecoder();
    StreamDecoder(const StreamDecoder&) = delete;
    StreamDecoder& operator=(const StreamDecoder&) = delete;

    bool Open(const std::string& path, int index);
    // The next decoded frame, or null once the stream has ended. A packet the
    // decoder refuses is skipped: a damaged file plays what can be decoded.
    AVFrame* Next();
    AVStream* Stream() const { return file->streams[stream]; }

    const Ffmpeg& ff;
    AVFormatContext* file = nullptr;
    AVCodecContext* codec = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    int stream = -1;
    bool inputDone = false;
    bool ended = false;
};

// A decoded video frame, converted to 0xAARRGGBB at its own size.
struct FrameSlot {
    int64_t number = -1;
    std::vector<uint32_t> pixels;
};

// One video stream of the logo: its decoder and the last few frames it decoded.
struct VideoTrack {
    explicit VideoTrack(const Ffmpeg& functions) : ff(functions) {}
    ~VideoTrack();
    VideoTrack(const VideoTrack&) = delete;
    VideoTrack& operator=(const VideoTrack&) = delete;

    // False for a stream that cannot be decoded or whose frames are empty or
    // larger than any logo needs.
    bool Open(const std::string& path, int streamIndex);
    void KeepFrames(size_t count);
    // The number of the frame showing `ms` after the stream's start; -1 before it.
    int64_t FrameAt(int64_t ms) const;
    // Frame number of a decoded frame, counted from the stream's start.
    int64_t FrameNumber(const AVFrame* f) const;
    // Decodes until frame `wanted` is there or the stream ends. Frames far
    // behind `keepFrom` are not converted: they would never be shown.
    void DecodeUpTo(int64_t wanted, int64_t keepFrom);
    // The picture of frame `number`: that frame, or the latest one before it
    // when the file skipped it; null before the stream or past its end.
    const FrameSlot* Find(int64_t number) const;

    const Ffmpeg& ff;
    int index = -1;  // in the file's stream table
    std::unique_ptr<StreamDecoder> decoder;
    int32_t frameWidth = 0;
    int32_t frameHeight = 0;
    AVRational frameRate{25, 1};
    int64_t startPts = 0;
    SwsContext* scaler = nullptr;
    std::vector<FrameSlot> frames;  // the last few decoded frames, by number
    int64_t lastFrameNumber = -1;
    int64_t framesDecoded = 0;
};

}  // namespace zoa
