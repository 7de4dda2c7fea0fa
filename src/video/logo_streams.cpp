#include "video/logo_streams.h"

#include <algorithm>

namespace zoa {

namespace {
constexpr int32_t kLargestFrameSide = 2048;
}  // namespace

bool StreamDecoder::Open(const std::string& path, int index) {
    const AVInputFormat* avi = ff.av_find_input_format("avi");
    if (ff.avformat_open_input(&file, path.c_str(), avi, nullptr) != 0) return false;
    if (ff.avformat_find_stream_info(file, nullptr) < 0) return false;
    if (index < 0 || static_cast<unsigned>(index) >= file->nb_streams) return false;
    stream = index;
    for (unsigned i = 0; i < file->nb_streams; ++i) {
        file->streams[i]->discard =
            static_cast<int>(i) == index ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }
    const AVCodecParameters* parameters = file->streams[index]->codecpar;
    const AVCodec* decoder = ff.avcodec_find_decoder(parameters->codec_id);
    if (!decoder) return false;
    codec = ff.avcodec_alloc_context3(decoder);
    if (!codec || ff.avcodec_parameters_to_context(codec, parameters) < 0) return false;
    codec->thread_count = 1;
    if (ff.avcodec_open2(codec, decoder, nullptr) < 0) return false;
    packet = ff.av_packet_alloc();
    frame = ff.av_frame_alloc();
    return packet && frame;
}

AVFrame* StreamDecoder::Next() {
    while (!ended) {
        const int received = ff.avcodec_receive_frame(codec, frame);
        if (received == 0) return frame;
        if (received != AVERROR(EAGAIN) || inputDone) {
            ended = true;
            break;
        }
        if (ff.av_read_frame(file, packet) < 0) {
            ff.avcodec_send_packet(codec, nullptr);
            inputDone = true;
            continue;
        }
        if (packet->stream_index == stream) ff.avcodec_send_packet(codec, packet);
        ff.av_packet_unref(packet);
    }
    return nullptr;
}

StreamDecoder::~StreamDecoder() {
    ff.av_frame_free(&frame);
    ff.av_packet_free(&packet);
    ff.avcodec_free_context(&codec);
    ff.avformat_close_input(&file);
}

VideoTrack::~VideoTrack() {
    ff.sws_freeContext(scaler);
}

bool VideoTrack::Open(const std::string& path, int streamIndex) {
    auto opened = std::make_unique<StreamDecoder>(ff);
    if (!opened->Open(path, streamIndex)) return false;
    const AVCodecContext* c = opened->codec;
    if (c->width <= 0 || c->height <= 0 || c->width > kLargestFrameSide ||
        c->height > kLargestFrameSide) {
        return false;
    }
    const AVStream* s = opened->Stream();
    frameRate = s->avg_frame_rate;
    if (frameRate.num <= 0 || frameRate.den <= 0) frameRate = s->r_frame_rate;
    if (frameRate.num <= 0 || frameRate.den <= 0 || av_q2d(frameRate) > 1000) frameRate = {25, 1};
    startPts = s->start_time != AV_NOPTS_VALUE ? s->start_time : 0;
    frameWidth = c->width;
    frameHeight = c->height;
    index = streamIndex;
    decoder = std::move(opened);
    return true;
}

void VideoTrack::KeepFrames(size_t count) {
    frames.resize(count);
    for (FrameSlot& slot : frames) {
        slot.pixels.resize(static_cast<size_t>(frameWidth) * static_cast<size_t>(frameHeight));
    }
}

int64_t VideoTrack::FrameAt(int64_t ms) const {
    if (ms < 0) return -1;
    return ff.av_rescale_rnd(ms, frameRate.num, int64_t{1000} * frameRate.den, AV_ROUND_DOWN);
}

int64_t VideoTrack::FrameNumber(const AVFrame* f) const {
    const int64_t pts = f->best_effort_timestamp;
    if (pts == AV_NOPTS_VALUE) return framesDecoded;
    const AVRational base = decoder->Stream()->time_base;
    return ff.av_rescale_q_rnd(pts - startPts, base, av_inv_q(frameRate),
                               static_cast<AVRounding>(AV_ROUND_NEAR_INF | AV_ROUND_PASS_MINMAX));
}

void VideoTrack::DecodeUpTo(int64_t wanted, int64_t keepFrom) {
    while (decoder && lastFrameNumber < wanted) {
        AVFrame* f = decoder->Next();
        if (!f) return;
        const int64_t number = std::max(FrameNumber(f), lastFrameNumber + 1);
        ++framesDecoded;
        lastFrameNumber = number;
        if (number < keepFrom || f->width != frameWidth || f->height != frameHeight) continue;
        scaler = ff.sws_getCachedContext(
            scaler, f->width, f->height, static_cast<AVPixelFormat>(f->format), frameWidth,
            frameHeight, AV_PIX_FMT_BGRA, SWS_POINT, nullptr, nullptr, nullptr);
        if (!scaler) continue;
        FrameSlot& slot = frames[static_cast<size_t>(number % static_cast<int64_t>(frames.size()))];
        uint8_t* planes[4] = {reinterpret_cast<uint8_t*>(slot.pixels.data()), nullptr, nullptr,
                              nullptr};
        int strides[4] = {frameWidth * 4, 0, 0, 0};
        if (ff.sws_scale(scaler, f->data, f->linesize, 0, f->height, planes, strides) !=
            frameHeight) {
            slot.number = -1;
            continue;
        }
        slot.number = number;
    }
}

const FrameSlot* VideoTrack::Find(int64_t number) const {
    if (number < 0 || number > lastFrameNumber) return nullptr;
    const FrameSlot* best = nullptr;
    for (const FrameSlot& slot : frames) {
        if (slot.number >= 0 && slot.number <= number && (!best || slot.number > best->number))
            best = &slot;
    }
    return best;
}

}  // namespace zoa
