#include "video/video_recorder.h"

#include <array>

#include "video/ffmpeg_library.h"

namespace zoa {

namespace {

constexpr int32_t kWidth = platform::kScreenWidth * VideoRecorder::kZoom;
constexpr int32_t kHeight = platform::kScreenHeight * VideoRecorder::kZoom;
constexpr AVRational kMilliseconds{1, 1000};
// What players are told to expect; the pictures carry their own times.
constexpr AVRational kNominalRate{60, 1};

struct Candidate {
    const char* encoder;
    const char* label;
};
// Best first.
constexpr Candidate kCandidates[] = {
    {"libx264", "H.264"},
    {"libvpx-vp9", "VP9"},
    {"mpeg4", "MPEG-4 part 2"},
};

std::string AvError(const Ffmpeg& ff, int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = "";
    ff.av_strerror(code, text, sizeof text);
    return text;
}

struct Yuv {
    uint8_t y, u, v;
};

// Studio-range BT.601, the colours every player assumes for this size.
Yuv ToYuv(uint32_t r, uint32_t g, uint32_t b) {
    const int ri = static_cast<int>(r), gi = static_cast<int>(g), bi = static_cast<int>(b);
    return {static_cast<uint8_t>(((66 * ri + 129 * gi + 25 * bi + 128) >> 8) + 16),
            static_cast<uint8_t>(((-38 * ri - 74 * gi + 112 * bi + 128) >> 8) + 128),
            static_cast<uint8_t>(((112 * ri - 94 * gi - 18 * bi + 128) >> 8) + 128)};
}

}  // namespace

struct VideoRecorder::Encoder {
    explicit Encoder(const Ffmpeg& functions) : ff(functions) {}

    const Ffmpeg& ff;
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    std::string label;
    std::string path;
    bool headerWritten = false;
    bool finished = false;
    int64_t frames = 0;
    int64_t firstMs = -1;
    int64_t lastPts = -1;
    std::string failure;  // the first write error, reported by Finish

    ~Encoder() {
        ff.av_packet_free(&packet);
        ff.av_frame_free(&frame);
        ff.avcodec_free_context(&codec);
        if (format) {
            if (!(format->oformat->flags & AVFMT_NOFILE) && format->pb) ff.avio_closep(&format->pb);
            ff.avformat_free_context(format);
        }
    }

    bool TryCodec(const AVCodec* encoder) {
        ff.avcodec_free_context(&codec);
        codec = ff.avcodec_alloc_context3(encoder);
        if (!codec) return false;
        codec->width = kWidth;
        codec->height = kHeight;
        codec->pix_fmt = AV_PIX_FMT_YUV420P;
        codec->time_base = kMilliseconds;
        codec->framerate = kNominalRate;
        codec->gop_size = 120;
        codec->color_range = AVCOL_RANGE_MPEG;
        codec->colorspace = AVCOL_SPC_SMPTE170M;
        codec->color_primaries = AVCOL_PRI_SMPTE170M;
        codec->color_trc = AVCOL_TRC_SMPTE170M;
        if (format->oformat->flags & AVFMT_GLOBALHEADER)
            codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        const std::string name = encoder->name;
        if (name == "libx264") {
            ff.av_opt_set(codec->priv_data, "preset", "veryfast", 0);
            ff.av_opt_set(codec->priv_data, "tune", "animation", 0);
            ff.av_opt_set(codec->priv_data, "crf", "18", 0);
        } else if (name == "libvpx-vp9") {
            ff.av_opt_set(codec->priv_data, "deadline", "realtime", 0);
            ff.av_opt_set(codec->priv_data, "cpu-used", "8", 0);
            ff.av_opt_set(codec->priv_data, "crf", "24", 0);
            ff.av_opt_set(codec->priv_data, "row-mt", "1", 0);
            codec->bit_rate = 0;
        } else {
            codec->flags |= AV_CODEC_FLAG_QSCALE;
            codec->global_quality = FF_QP2LAMBDA * 3;
        }
        return ff.avcodec_open2(codec, encoder, nullptr) == 0;
    }

    bool Open(const std::string& file, std::string* error) {
        path = file;
        // The encoders' own chatter is not the player's business; errors still show.
        ff.av_log_set_level(AV_LOG_ERROR);
        const AVOutputFormat* container = ff.av_guess_format(nullptr, file.c_str(), nullptr);
        if (!container) container = ff.av_guess_format("mp4", nullptr, nullptr);
        if (ff.avformat_alloc_output_context2(&format, container, nullptr, file.c_str()) < 0 ||
            !format) {
            *error = "cannot make a video file of " + file;
            return false;
        }
        for (const Candidate& c : kCandidates) {
            const AVCodec* encoder = ff.avcodec_find_encoder_by_name(c.encoder);
            if (!encoder) continue;
            if (ff.avformat_query_codec(format->oformat, encoder->id, FF_COMPLIANCE_NORMAL) != 1)
                continue;
            if (TryCodec(encoder)) {
                label = std::string(c.label) + " in " + format->oformat->name;
                break;
            }
        }
        if (label.empty()) {
            *error = std::string("no video encoder for ") + format->oformat->name +
                     " files (H.264, VP9 or MPEG-4)";
            return false;
        }
        stream = ff.avformat_new_stream(format, nullptr);
        frame = ff.av_frame_alloc();
        packet = ff.av_packet_alloc();
        if (!stream || !frame || !packet) {
            *error = "out of memory";
            return false;
        }
        stream->time_base = kMilliseconds;
        stream->avg_frame_rate = kNominalRate;
        ff.avcodec_parameters_from_context(stream->codecpar, codec);
        frame->format = codec->pix_fmt;
        frame->width = kWidth;
        frame->height = kHeight;
        if (ff.av_frame_get_buffer(frame, 0) < 0) {
            *error = "out of memory";
            return false;
        }
        if (!(format->oformat->flags & AVFMT_NOFILE)) {
            const int result = ff.avio_open(&format->pb, file.c_str(), AVIO_FLAG_WRITE);
            if (result < 0) {
                *error = "cannot write " + file + ": " + AvError(ff, result);
                return false;
            }
        }
        const int result = ff.avformat_write_header(format, nullptr);
        if (result < 0) {
            *error = "cannot write " + file + ": " + AvError(ff, result);
            return false;
        }
        headerWritten = true;
        return true;
    }

    // Hands the filled frame to the encoder and writes what comes out.
    void Send(uint32_t ms, bool flush) {
        if (finished || !failure.empty()) return;
        int result = 0;
        if (flush) {
            result = ff.avcodec_send_frame(codec, nullptr);
        } else {
            if (firstMs < 0) firstMs = ms;
            // Pictures keep their moment; two in one millisecond keep their order.
            int64_t pts =
                static_cast<int64_t>(static_cast<uint32_t>(ms - static_cast<uint32_t>(firstMs)));
            if (pts <= lastPts) pts = lastPts + 1;
            lastPts = pts;
            frame->pts = pts;
            result = ff.avcodec_send_frame(codec, frame);
            ++frames;
        }
        if (result < 0) {
            failure = "the encoder refused a picture: " + AvError(ff, result);
            return;
        }
        for (;;) {
            result = ff.avcodec_receive_packet(codec, packet);
            if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) break;
            if (result < 0) {
                failure = "the encoder failed: " + AvError(ff, result);
                return;
            }
            ff.av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
            packet->stream_index = stream->index;
            result = ff.av_interleaved_write_frame(format, packet);
            if (result < 0) {
                failure = "cannot write " + path + ": " + AvError(ff, result);
                return;
            }
        }
    }

    bool Writable() {
        if (finished || !failure.empty()) return false;
        if (ff.av_frame_make_writable(frame) < 0) {
            failure = "out of memory";
            return false;
        }
        return true;
    }

    // Sets game pixel (x, y) to one colour: a 2 x 2 block of luma, one chroma sample.
    void Put(int32_t x, int32_t y, const Yuv& c) {
        uint8_t* luma = frame->data[0] + static_cast<ptrdiff_t>(y * 2) * frame->linesize[0] + x * 2;
        luma[0] = luma[1] = c.y;
        luma[frame->linesize[0]] = luma[frame->linesize[0] + 1] = c.y;
        frame->data[1][static_cast<ptrdiff_t>(y) * frame->linesize[1] + x] = c.u;
        frame->data[2][static_cast<ptrdiff_t>(y) * frame->linesize[2] + x] = c.v;
    }
};

VideoRecorder::VideoRecorder(std::unique_ptr<Encoder> encoder) : encoder_(std::move(encoder)) {}

VideoRecorder::~VideoRecorder() {
    Finish(nullptr);
}

std::unique_ptr<VideoRecorder> VideoRecorder::Open(const std::string& path, std::string* error) {
    std::string why;
    const Ffmpeg* ff = LoadFfmpeg(&why);
    if (!ff) {
        if (error) *error = why;
        return nullptr;
    }
    auto encoder = std::make_unique<Encoder>(*ff);
    if (!encoder->Open(path, &why)) {
        if (error) *error = why;
        return nullptr;
    }
    return std::make_unique<VideoRecorder>(std::move(encoder));
}

void VideoRecorder::OnPicture(const uint8_t* pixels, const Palette& palette, uint32_t ms) {
    Encoder& e = *encoder_;
    if (!e.Writable()) return;
    std::array<Yuv, kPaletteSize> colours;
    for (int i = 0; i < kPaletteSize; ++i)
        colours[i] = ToYuv(palette[i].red, palette[i].green, palette[i].blue);
    for (int32_t y = 0; y < platform::kScreenHeight; ++y) {
        const uint8_t* row = pixels + static_cast<ptrdiff_t>(y) * platform::kScreenWidth;
        for (int32_t x = 0; x < platform::kScreenWidth; ++x) e.Put(x, y, colours[row[x]]);
    }
    e.Send(ms, false);
}

void VideoRecorder::OnTrueColor(const uint32_t* pixels, uint32_t ms) {
    Encoder& e = *encoder_;
    if (!e.Writable()) return;
    for (int32_t y = 0; y < platform::kScreenHeight; ++y) {
        const uint32_t* row = pixels + static_cast<ptrdiff_t>(y) * platform::kScreenWidth;
        for (int32_t x = 0; x < platform::kScreenWidth; ++x) {
            const uint32_t p = row[x];
            e.Put(x, y, ToYuv((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
        }
    }
    e.Send(ms, false);
}

bool VideoRecorder::Finish(std::string* error) {
    Encoder& e = *encoder_;
    const Ffmpeg& ff = e.ff;
    if (!e.finished && e.headerWritten) {
        e.Send(0, true);
        e.finished = true;
        const int result = ff.av_write_trailer(e.format);
        if (result < 0 && e.failure.empty())
            e.failure = "cannot finish " + e.path + ": " + AvError(ff, result);
        if (e.format->pb && !(e.format->oformat->flags & AVFMT_NOFILE))
            ff.avio_closep(&e.format->pb);
    }
    e.finished = true;
    if (!e.failure.empty()) {
        if (error) *error = e.failure;
        return false;
    }
    return true;
}

int64_t VideoRecorder::frames() const {
    return encoder_->frames;
}

const std::string& VideoRecorder::codec() const {
    return encoder_->label;
}

}  // namespace zoa
