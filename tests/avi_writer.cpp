#include "avi_writer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
}

namespace zoa::test {

namespace {

struct Encoder {
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    ~Encoder() { avcodec_free_context(&codec); }
};

bool Drain(AVFormatContext* out, Encoder& e, AVPacket* packet) {
    for (;;) {
        const int r = avcodec_receive_packet(e.codec, packet);
        if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return true;
        if (r < 0) return false;
        av_packet_rescale_ts(packet, e.codec->time_base, e.stream->time_base);
        packet->stream_index = e.stream->index;
        if (av_interleaved_write_frame(out, packet) < 0) return false;
    }
}

bool Encode(AVFormatContext* out, Encoder& e, AVFrame* frame, AVPacket* packet) {
    return avcodec_send_frame(e.codec, frame) >= 0 && Drain(out, e, packet);
}

bool OpenEncoder(AVFormatContext* out, Encoder& e, const AVCodec* codec) {
    if (out->oformat->flags & AVFMT_GLOBALHEADER) e.codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(e.codec, codec, nullptr) < 0) return false;
    e.stream = avformat_new_stream(out, nullptr);
    if (!e.stream || avcodec_parameters_from_context(e.stream->codecpar, e.codec) < 0) return false;
    e.stream->time_base = e.codec->time_base;
    return true;
}

}  // namespace

bool WriteTestAvi(const std::string& path, const TestAvi& avi, std::string* error) {
    const auto fail = [error](const char* why) {
        *error = why;
        return false;
    };
    AVFormatContext* out = nullptr;
    if (avformat_alloc_output_context2(&out, nullptr, "avi", path.c_str()) < 0)
        return fail("no AVI muxer");
    struct Closer {
        AVFormatContext* out;
        ~Closer() {
            if (out->pb) avio_closep(&out->pb);
            avformat_free_context(out);
        }
    } closer{out};

    const AVCodec* videoCodec = avcodec_find_encoder(AV_CODEC_ID_FFV1);
    if (!videoCodec) return fail("no FFV1 encoder");
    Encoder videos[2];
    const int videoCount = avi.secondVideo ? 2 : 1;
    for (int v = 0; v < videoCount; ++v) {
        Encoder& video = videos[v];
        video.codec = avcodec_alloc_context3(videoCodec);
        video.codec->width = avi.width;
        video.codec->height = avi.height;
        video.codec->time_base = {1, avi.fps};
        video.codec->framerate = {avi.fps, 1};
        video.codec->pix_fmt = AV_PIX_FMT_BGR0;
        video.codec->gop_size = 1;
        if (!OpenEncoder(out, video, videoCodec)) return fail("cannot open the video encoder");
    }

    Encoder audio;
    if (avi.audioRate > 0) {
        const AVCodec* pcm = avcodec_find_encoder(AV_CODEC_ID_PCM_S16LE);
        if (!pcm) return fail("no PCM encoder");
        audio.codec = avcodec_alloc_context3(pcm);
        audio.codec->sample_fmt = AV_SAMPLE_FMT_S16;
        audio.codec->sample_rate = avi.audioRate;
        av_channel_layout_default(&audio.codec->ch_layout, avi.audioChannels);
        audio.codec->time_base = {1, avi.audioRate};
        if (!OpenEncoder(out, audio, pcm)) return fail("cannot open the audio encoder");
    }
    if (avio_open(&out->pb, path.c_str(), AVIO_FLAG_WRITE) < 0)
        return fail("cannot write the file");
    if (avformat_write_header(out, nullptr) < 0) return fail("cannot write the header");

    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    struct FrameFree {
        AVPacket** packet;
        AVFrame** frame;
        ~FrameFree() {
            av_packet_free(packet);
            av_frame_free(frame);
        }
    } frees{&packet, &frame};

    frame->format = AV_PIX_FMT_BGR0;
    frame->width = avi.width;
    frame->height = avi.height;
    if (av_frame_get_buffer(frame, 0) < 0) return fail("no frame buffer");
    for (int f = 0; f < avi.frames; ++f) {
        if (av_frame_make_writable(frame) < 0) return fail("frame not writable");
        for (int y = 0; y < avi.height; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(frame->data[0] + y * frame->linesize[0]);
            for (int x = 0; x < avi.width; ++x) row[x] = avi.color(f, x, y);
        }
        frame->pts = f;
        for (int v = 0; v < videoCount; ++v) {
            if (!Encode(out, videos[v], frame, packet)) return fail("cannot encode video");
        }
    }
    for (int v = 0; v < videoCount; ++v) {
        if (!Encode(out, videos[v], nullptr, packet)) return fail("cannot finish the video");
    }

    if (audio.codec) {
        const int total = avi.audioRate * avi.audioMs / 1000;
        const int chunk = 1024;
        for (int at = 0; at < total; at += chunk) {
            av_frame_unref(frame);
            frame->format = AV_SAMPLE_FMT_S16;
            frame->sample_rate = avi.audioRate;
            av_channel_layout_copy(&frame->ch_layout, &audio.codec->ch_layout);
            frame->nb_samples = total - at < chunk ? total - at : chunk;
            if (av_frame_get_buffer(frame, 0) < 0) return fail("no audio buffer");
            auto* samples = reinterpret_cast<int16_t*>(frame->data[0]);
            for (int i = 0; i < frame->nb_samples * avi.audioChannels; ++i) {
                samples[i] = ((at + i / avi.audioChannels) / 50) % 2 ? 8000 : -8000;
            }
            frame->pts = at;
            if (!Encode(out, audio, frame, packet)) return fail("cannot encode audio");
        }
        if (!Encode(out, audio, nullptr, packet)) return fail("cannot finish the audio");
    }
    if (av_write_trailer(out) < 0) return fail("cannot finish the file");
    return true;
}

}  // namespace zoa::test
