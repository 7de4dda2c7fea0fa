#include "logo_video.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

#include <cmath>
#include <vector>

#include "hero_art.h"
#include "noise.h"
#include "palette_design.h"
#include "pixel_font.h"

namespace zoa::databuild {

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kFps = 25;
constexpr int kFrames = 100;  // 4 seconds
constexpr int kAudioRate = 22050;
constexpr int kAudioPerFrame = kAudioRate / kFps;
constexpr float kPi = 3.14159265f;

}  // namespace

// Picture of frame i: a starfield, the hero flying in on the jet, the name
// dropping into place with a bounce, a sparkle, then a fade to black.
Canvas LogoFrame(int i) {
    Canvas c(kWidth, kHeight, kBlack);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            c.Set(x, y, Shade(kNight, (y * 3 + Bayer4(x, y) * 16) / kHeight));
    for (int s = 0; s < 80; ++s) {
        const int x = static_cast<int>(
            (Hash(s, 1) % kWidth + static_cast<uint32_t>(i * (1 + s % 3))) % kWidth);
        c.Set(x, static_cast<int>(Hash(s, 2) % kHeight), Grey(7 + s % 6));
    }
    // The hero crosses from left to right.
    const float t = static_cast<float>(i) / kFrames;
    const float hx = -120 + 520 * t, hy = 150 - 40 * std::sin(t * kPi);
    Painter p(c, 1.0f, hx, hy - 60);
    DrawHeroFrame(p, 4, i % 4);
    // The name drops in and settles.
    const float drop = i < 30 ? static_cast<float>(i) / 30 : 1.0f;
    const float bounce = i < 30 ? 0.0f
                                : 12.0f * std::exp(-static_cast<float>(i - 30) / 6.0f) *
                                      std::fabs(std::cos(static_cast<float>(i - 30) * 0.6f));
    const int ny = static_cast<int>(-60 + 130 * drop - bounce);
    TextStyle s;
    s.scale = 5;
    s.ramp = kGold;
    s.top = 7;
    s.bottom = 2;
    DrawText(c, kWidth / 2 - TextWidth("ZOA NOLI", 5) / 2, ny, "ZOA NOLI", s);
    if (i > 40 && i < 70) {  // a sparkle on the name
        Painter q(c);
        const float r = 10.0f - std::fabs(static_cast<float>(i - 55)) * 0.6f;
        const float sx = 250, sy = static_cast<float>(ny) + 4;
        q.Line({sx - r, sy}, {sx + r, sy}, kWhite);
        q.Line({sx, sy - r}, {sx, sy + r}, kWhite);
    }
    if (i > 55) {
        TextStyle sub;
        sub.scale = 1;
        sub.ramp = kCream;
        DrawText(c, kWidth / 2 - TextWidth("JET PACK ACTION", 1) / 2, 120, "JET PACK ACTION", sub);
    }
    return c;
}

namespace {

// The logo's sound: a rising whoosh as the hero passes and a bright chord
// when the name lands.
std::vector<int16_t> LogoAudio() {
    std::vector<float> mix(static_cast<size_t>(kAudioRate) * kFrames / kFps, 0.0f);
    for (size_t n = 0; n < mix.size(); ++n) {
        const float sec = static_cast<float>(n) / kAudioRate;
        float v = 0;
        const float whoosh = std::exp(-std::pow((sec - 2.0f) / 0.6f, 2.0f));
        v += whoosh * 0.25f * (Hash01(static_cast<uint32_t>(n / 3)) * 2 - 1);
        if (sec > 1.2f) {
            const float e = std::exp(-(sec - 1.2f) * 1.6f);
            const float notes[3] = {523.25f, 659.25f, 783.99f};
            for (float f : notes) v += e * 0.18f * (std::fmod(sec * f, 1.0f) < 0.5f ? 1.0f : -1.0f);
        }
        v *= std::fmin(1.0f, (4.0f - sec) * 2.0f);  // fade with the picture
        mix[n] = v;
    }
    std::vector<int16_t> out(mix.size());
    for (size_t n = 0; n < mix.size(); ++n)
        out[n] =
            static_cast<int16_t>(std::lround(std::fmax(-1.0f, std::fmin(1.0f, mix[n])) * 28000));
    return out;
}

// BT.601 limited-range conversion of a palette picture, with a fade factor.
void ToYuv(const Canvas& c, float light, AVFrame* f) {
    const Palette& pal = GamePalette();
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const PaletteEntry& e = pal[c.Get(x, y)];
            const float r = e.red * light, g = e.green * light, b = e.blue * light;
            f->data[0][y * f->linesize[0] + x] =
                static_cast<uint8_t>(std::lround(16 + 0.257f * r + 0.504f * g + 0.098f * b));
            if (x % 2 == 0 && y % 2 == 0) {
                f->data[1][(y / 2) * f->linesize[1] + x / 2] =
                    static_cast<uint8_t>(std::lround(128 - 0.148f * r - 0.291f * g + 0.439f * b));
                f->data[2][(y / 2) * f->linesize[2] + x / 2] =
                    static_cast<uint8_t>(std::lround(128 + 0.439f * r - 0.368f * g - 0.071f * b));
            }
        }
    }
}

struct Encoder {
    AVFormatContext* format = nullptr;
    AVCodecContext* video = nullptr;
    AVCodecContext* audio = nullptr;
    AVStream* videoStream = nullptr;
    AVStream* audioStream = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    ~Encoder() {
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&video);
        avcodec_free_context(&audio);
        if (format) {
            if (format->pb) avio_closep(&format->pb);
            avformat_free_context(format);
        }
    }
};

bool Drain(Encoder& e, AVCodecContext* ctx, AVStream* stream) {
    for (;;) {
        const int r = avcodec_receive_packet(ctx, e.packet);
        if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return true;
        if (r < 0) return false;
        av_packet_rescale_ts(e.packet, ctx->time_base, stream->time_base);
        e.packet->stream_index = stream->index;
        if (av_interleaved_write_frame(e.format, e.packet) < 0) return false;
    }
}

}  // namespace

bool WriteLogoVideo(const std::string& path, std::string* error) {
    Encoder e;
    auto fail = [error](const char* what) {
        *error = what;
        return false;
    };
    if (avformat_alloc_output_context2(&e.format, nullptr, "avi", path.c_str()) < 0)
        return fail("no AVI muxer");
    e.format->flags |= AVFMT_FLAG_BITEXACT;

    const AVCodec* vcodec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    const AVCodec* acodec = avcodec_find_encoder(AV_CODEC_ID_PCM_S16LE);
    if (!vcodec || !acodec) return fail("no MPEG-4 or PCM encoder");
    e.video = avcodec_alloc_context3(vcodec);
    e.video->width = kWidth;
    e.video->height = kHeight;
    e.video->time_base = {1, kFps};
    e.video->framerate = {kFps, 1};
    e.video->pix_fmt = AV_PIX_FMT_YUV420P;
    e.video->gop_size = 25;
    e.video->max_b_frames = 0;
    e.video->thread_count = 1;
    e.video->flags |= AV_CODEC_FLAG_BITEXACT | AV_CODEC_FLAG_QSCALE;
    e.video->global_quality = FF_QP2LAMBDA * 3;
    if (e.format->oformat->flags & AVFMT_GLOBALHEADER)
        e.video->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(e.video, vcodec, nullptr) < 0) return fail("cannot open the video encoder");

    e.audio = avcodec_alloc_context3(acodec);
    e.audio->sample_fmt = AV_SAMPLE_FMT_S16;
    e.audio->sample_rate = kAudioRate;
    av_channel_layout_default(&e.audio->ch_layout, 1);
    e.audio->time_base = {1, kAudioRate};
    e.audio->flags |= AV_CODEC_FLAG_BITEXACT;
    if (avcodec_open2(e.audio, acodec, nullptr) < 0) return fail("cannot open the audio encoder");

    e.videoStream = avformat_new_stream(e.format, nullptr);
    e.audioStream = avformat_new_stream(e.format, nullptr);
    if (!e.videoStream || !e.audioStream) return fail("cannot add streams");
    avcodec_parameters_from_context(e.videoStream->codecpar, e.video);
    avcodec_parameters_from_context(e.audioStream->codecpar, e.audio);
    e.videoStream->time_base = e.video->time_base;
    e.audioStream->time_base = e.audio->time_base;

    if (avio_open(&e.format->pb, path.c_str(), AVIO_FLAG_WRITE) < 0)
        return fail("cannot open the file");
    if (avformat_write_header(e.format, nullptr) < 0) return fail("cannot write the header");

    e.packet = av_packet_alloc();
    e.frame = av_frame_alloc();
    const std::vector<int16_t> sound = LogoAudio();
    for (int i = 0; i < kFrames; ++i) {
        // Video frame i.
        av_frame_unref(e.frame);
        e.frame->format = AV_PIX_FMT_YUV420P;
        e.frame->width = kWidth;
        e.frame->height = kHeight;
        if (av_frame_get_buffer(e.frame, 0) < 0) return fail("out of memory");
        const float light =
            i < 8 ? static_cast<float>(i) / 8
                  : (i >= kFrames - 15 ? static_cast<float>(kFrames - 1 - i) / 14 : 1.0f);
        ToYuv(LogoFrame(i), light, e.frame);
        e.frame->pts = i;
        e.frame->quality = e.video->global_quality;
        if (avcodec_send_frame(e.video, e.frame) < 0 || !Drain(e, e.video, e.videoStream))
            return fail("video encoding failed");
        // The sound of the same 1/25 s.
        av_frame_unref(e.frame);
        e.frame->format = AV_SAMPLE_FMT_S16;
        e.frame->sample_rate = kAudioRate;
        av_channel_layout_default(&e.frame->ch_layout, 1);
        e.frame->nb_samples = kAudioPerFrame;
        if (av_frame_get_buffer(e.frame, 0) < 0) return fail("out of memory");
        auto* samples = reinterpret_cast<int16_t*>(e.frame->data[0]);
        for (int n = 0; n < kAudioPerFrame; ++n)
            samples[n] = sound[static_cast<size_t>(i * kAudioPerFrame + n)];
        e.frame->pts = static_cast<int64_t>(i) * kAudioPerFrame;
        if (avcodec_send_frame(e.audio, e.frame) < 0 || !Drain(e, e.audio, e.audioStream))
            return fail("audio encoding failed");
    }
    avcodec_send_frame(e.video, nullptr);
    avcodec_send_frame(e.audio, nullptr);
    if (!Drain(e, e.video, e.videoStream) || !Drain(e, e.audio, e.audioStream))
        return fail("encoding failed");
    if (av_write_trailer(e.format) < 0) return fail("cannot finish the file");
    return true;
}

}  // namespace zoa::databuild
