#include "video/logo_player.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "files/utf8_path.h"
#include "platform/audio_out.h"
#include "platform/platform.h"
#include "video/ffmpeg_library.h"
#include "video/logo_geometry.h"
#include "video/logo_streams.h"
#include "video/logo_wave_strip.h"

namespace zoa {

LogoPlayer g_logo;

namespace {

constexpr int32_t kMostSideFrames = 4;
constexpr int64_t kMostFrameSlots = 64;  // frames kept of a further video stream
constexpr uint32_t kOutlineColor = 0xFFFF0000;
constexpr uint32_t kNoFrameColor = 0xFF404040;  // dark grey where a frame is missing
constexpr uint32_t kBackground = 0xFF000000;
constexpr uint32_t kLongestWait = 10;  // ms between looks at the clock and the audio
constexpr int kLargestAudioRate = 384000;
constexpr int kMostAudioChannels = 8;

int64_t Milliseconds(const Ffmpeg& ff, int64_t value, AVRational base) {
    return ff.av_rescale_q(value, base, AVRational{1, 1000});
}

int64_t ClampTime(int64_t ms) {
    return std::clamp<int64_t>(ms, -LogoPlayer::kLongestLogoMs, LogoPlayer::kLongestLogoMs);
}

struct StreamTime {
    int64_t start = 0;
    int64_t end = 0;
    bool isVideo = false;
    bool isAudio = false;
};

}  // namespace

struct LogoPlayer::Media {
    explicit Media(const Ffmpeg& functions) : ff(functions) {}

    const Ffmpeg& ff;
    std::string path;
    StreamTime streams[kMaxStreams];

    // Video: every stream that can be decoded, in table order; the first one
    // sets the pace.
    std::vector<std::unique_ptr<VideoTrack>> videos;
    VideoTrack* video = nullptr;

    // Audio
    std::unique_ptr<StreamDecoder> audio;
    std::unique_ptr<platform::AudioOut> output;
    platform::PcmFormat outFormat;
    SwrContext* resampler = nullptr;
    std::vector<uint8_t> pending;  // converted bytes not yet queued
    size_t pendingAt = 0;
    std::vector<uint8_t> converted;
    uint32_t buffersQueued = 0;  // queued on the output and not yet played
    uint32_t buffersWritten = 0;
    int64_t firstSampleTime = 0;
    WaveTrace wave;  // for the strip under the video, when there is room for it

    std::vector<uint32_t> canvas;

    ~Media() {
        if (output) output->CloseStream();
        ff.swr_free(&resampler);
    }

    bool OpenAudio(int index) {
        auto decoder = std::make_unique<StreamDecoder>(ff);
        if (!decoder->Open(path, index)) return false;
        const AVCodecContext* c = decoder->codec;
        if (c->sample_rate <= 0 || c->sample_rate > kLargestAudioRate ||
            c->ch_layout.nb_channels <= 0 || c->ch_layout.nb_channels > kMostAudioChannels) {
            return false;
        }
        audio = std::move(decoder);
        return true;
    }

    // Reads the whole audio stream once for its picture, keeping the sample
    // of every millisecond of each channel (at most two).
    void ReadWaveTrace(int index, int64_t startMs) {
        StreamDecoder decoder(ff);
        if (!decoder.Open(path, index)) return;
        const AVCodecContext* c = decoder.codec;
        const int channels = std::min(c->ch_layout.nb_channels, 2);
        if (channels <= 0 || c->sample_rate <= 0) return;
        AVChannelLayout in{};
        AVChannelLayout out{};
        if (c->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
            ff.av_channel_layout_default(&in, c->ch_layout.nb_channels);
        } else if (ff.av_channel_layout_copy(&in, &c->ch_layout) < 0) {
            return;
        }
        ff.av_channel_layout_default(&out, channels);
        SwrContext* convert = nullptr;
        const int made = ff.swr_alloc_set_opts2(&convert, &out, AV_SAMPLE_FMT_S16, c->sample_rate,
                                                &in, c->sample_fmt, c->sample_rate, 0, nullptr);
        ff.av_channel_layout_uninit(&in);
        ff.av_channel_layout_uninit(&out);
        if (made != 0 || ff.swr_init(convert) != 0) {
            ff.swr_free(&convert);
            return;
        }
        wave.channels = channels;
        wave.startMs = startMs;
        const int64_t rate = c->sample_rate;
        int64_t taken = 0;  // samples converted so far
        std::vector<int16_t> block;
        while (AVFrame* f = decoder.Next()) {
            const int room = ff.swr_get_out_samples(convert, f->nb_samples);
            if (room <= 0) continue;
            block.resize(static_cast<size_t>(room) * static_cast<size_t>(channels));
            uint8_t* planes[1] = {reinterpret_cast<uint8_t*>(block.data())};
            const int got =
                ff.swr_convert(convert, planes, room, const_cast<const uint8_t**>(f->extended_data),
                               f->nb_samples);
            if (got <= 0) continue;
            // Millisecond m shows sample number m x rate / 1000.
            for (int64_t m = wave.Milliseconds();
                 m < LogoPlayer::kLongestLogoMs && m * rate / 1000 < taken + got; ++m) {
                const int64_t at = m * rate / 1000 - taken;
                for (int ch = 0; ch < channels; ++ch)
                    wave.samples.push_back(block[static_cast<size_t>(at * channels + ch)]);
            }
            taken += got;
        }
        ff.swr_free(&convert);
    }

    // Opens the sound output's stream and the conversion into its format.
    bool StartAudio(platform::Platform& window) {
        output = window.OpenAudio();
        if (!output->OpenStream(&outFormat)) return false;
        const AVCodecContext* c = audio->codec;
        AVChannelLayout in{};
        AVChannelLayout out{};
        if (c->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
            ff.av_channel_layout_default(&in, c->ch_layout.nb_channels);
        } else if (ff.av_channel_layout_copy(&in, &c->ch_layout) < 0) {
            return false;
        }
        ff.av_channel_layout_default(&out, outFormat.channels);
        const int made = ff.swr_alloc_set_opts2(&resampler, &out, AV_SAMPLE_FMT_S16,
                                                static_cast<int>(outFormat.rate), &in,
                                                c->sample_fmt, c->sample_rate, 0, nullptr);
        ff.av_channel_layout_uninit(&in);
        ff.av_channel_layout_uninit(&out);
        return made == 0 && ff.swr_init(resampler) == 0;
    }

    // Decodes audio until a whole buffer is waiting or the stream has ended.
    void Decode(size_t wanted) {
        while (pending.size() - pendingAt < wanted) {
            AVFrame* f = audio->Next();
            if (!f) return;
            const int room = ff.swr_get_out_samples(resampler, f->nb_samples);
            if (room <= 0) continue;
            const size_t frameBytes = platform::FrameBytes(outFormat);
            converted.resize(static_cast<size_t>(room) * frameBytes);
            uint8_t* planes[1] = {converted.data()};
            const int got =
                ff.swr_convert(resampler, planes, room,
                               const_cast<const uint8_t**>(f->extended_data), f->nb_samples);
            if (got <= 0) continue;
            if (pendingAt > 0) {
                pending.erase(pending.begin(),
                              pending.begin() + static_cast<std::ptrdiff_t>(pendingAt));
                pendingAt = 0;
            }
            pending.insert(pending.end(), converted.begin(),
                           converted.begin() +
                               static_cast<std::ptrdiff_t>(static_cast<size_t>(got) * frameBytes));
        }
    }

    // Queues buffers while fewer than the ring holds are queued and samples
    // are left. False once everything has been played.
    bool Fill() {
        buffersQueued = buffersWritten - output->StreamBuffersDone();
        while (buffersQueued < platform::AudioOut::kStreamBuffers) {
            Decode(platform::AudioOut::kStreamBufferBytes);
            const size_t size = std::min<size_t>(pending.size() - pendingAt,
                                                 platform::AudioOut::kStreamBufferBytes);
            if (size == 0) break;
            if (!output->QueueStream(pending.data() + pendingAt, static_cast<uint32_t>(size)))
                break;
            pendingAt += size;
            ++buffersWritten;
            ++buffersQueued;
        }
        return buffersQueued > 0 || pending.size() > pendingAt;
    }
};

LogoPlayer::LogoPlayer() = default;
LogoPlayer::~LogoPlayer() = default;

int64_t LogoPlayer::CurrentTime() const {
    return TimeAtPosition(timeStart, timeLength, position);
}

namespace {

// FFmpeg for the logo at `path`; null when there is no file (FFmpeg is then
// not even loaded) or FFmpeg cannot be loaded (said on stderr).
const Ffmpeg* FfmpegForLogo(const std::string& path) {
    std::error_code noFile;
    if (!std::filesystem::exists(files::FsPath(path), noFile)) return nullptr;
    std::string why;
    const Ffmpeg* loaded = LoadFfmpeg(&why);
    if (!loaded) {
        std::fprintf(stderr, "zoa_noli: the logo is skipped: %s\n", why.c_str());
        return nullptr;
    }
    loaded->av_log_set_level(AV_LOG_QUIET);
    return loaded;
}

// Where stream `s` of `file` starts and ends on the logo's clock, and what it holds.
StreamTime ReadStreamTime(const Ffmpeg& ff, const AVFormatContext* file, const AVStream* s) {
    StreamTime t;
    t.start = s->start_time != AV_NOPTS_VALUE
                  ? ClampTime(Milliseconds(ff, s->start_time, s->time_base))
                  : 0;
    int64_t length = 0;
    if (s->duration != AV_NOPTS_VALUE && s->duration > 0) {
        length = Milliseconds(ff, s->duration, s->time_base);
    } else if (s->nb_frames > 0) {
        // An AVI stream's length counts units of its time base (samples of PCM audio).
        length = Milliseconds(ff, s->nb_frames, s->time_base);
    } else if (file->duration != AV_NOPTS_VALUE && file->duration > 0) {
        length = file->duration / (AV_TIME_BASE / 1000);
    }
    t.end = ClampTime(t.start + std::clamp<int64_t>(length, 0, LogoPlayer::kLongestLogoMs));
    t.isVideo = s->codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
    t.isAudio = s->codecpar->codec_type == AVMEDIA_TYPE_AUDIO;
    return t;
}

}  // namespace

bool LogoPlayer::Open(platform::Platform* window, int32_t areaWidth, int32_t areaHeight,
                      int32_t zoomFactor, const std::string& path) {
    Release();
    window_ = window;
    width = std::clamp(areaWidth, 0, platform::kScreenWidth);
    height = std::clamp(areaHeight, 0, platform::kScreenHeight);
    zoom = zoomFactor * 4;
    activationSeen_ = false;
    if (!window) return false;
    const Ffmpeg* ff = FfmpegForLogo(path);
    if (!ff) return false;
    auto media = std::make_unique<Media>(*ff);
    media->path = path;
    if (!ReadStreamTable(*media) || !OpenStreams(*media)) return false;
    LayOut(*media);
    media_ = std::move(media);
    Start(*window);
    return true;
}

// The times of every stream, up to kMaxStreams, and of the whole logo; false
// for a file that is no AVI or has no stream.
bool LogoPlayer::ReadStreamTable(Media& media) {
    const Ffmpeg& ff = media.ff;
    AVFormatContext* file = nullptr;
    const AVInputFormat* avi = ff.av_find_input_format("avi");
    if (ff.avformat_open_input(&file, media.path.c_str(), avi, nullptr) != 0) return false;
    if (ff.avformat_find_stream_info(file, nullptr) < 0) {
        ff.avformat_close_input(&file);
        return false;
    }
    const int count = std::min<int>(static_cast<int>(file->nb_streams), kMaxStreams);
    timeStart = INT64_MAX;
    timeEnd = 0;
    for (int i = 0; i < count; ++i) {
        const StreamTime& t = media.streams[i] = ReadStreamTime(ff, file, file->streams[i]);
        timeStart = std::min(timeStart, t.start);
        timeEnd = std::max(timeEnd, t.end);
    }
    ff.avformat_close_input(&file);
    if (count == 0) return false;
    streamCount = count;
    timeEnd = std::min(timeEnd, timeStart + kLongestLogoMs);
    timeLength = timeEnd > timeStart ? timeEnd - timeStart : 1;
    position = 0;
    return true;
}

// Every video stream that can be decoded (the first one sets the pace) and
// the first audio stream; false when there is neither.
bool LogoPlayer::OpenStreams(Media& media) {
    for (int i = 0; i < streamCount; ++i) {
        if (media.streams[i].isVideo) {
            auto track = std::make_unique<VideoTrack>(media.ff);
            if (track->Open(media.path, i)) {
                if (videoStream < 0) {
                    videoStream = i;
                    media.video = track.get();
                }
                media.videos.push_back(std::move(track));
            }
        }
        if (media.streams[i].isAudio && audioStream < 0 && media.OpenAudio(i)) audioStream = i;
    }
    if (videoStream < 0 && audioStream < 0) {
        streamCount = 0;
        return false;
    }
    return true;
}

// The streams are painted one below the other in table order; the audio's
// strip only where the videos before it leave room. Each video keeps as many
// decoded frames as it shows.
void LogoPlayer::LayOut(Media& media) {
    int32_t aboveAudio = 0;
    for (const auto& track : media.videos) {
        const int32_t frameWidth = track->frameWidth * zoom / 4;
        const int32_t sides = std::min(SideFrameCount(width, frameWidth), kMostSideFrames);
        int64_t slots = 2 * sides + 2;
        if (track.get() != media.video) {
            // Its side frames lie a frame width of milliseconds apart: room
            // for every frame from the first to the last shown.
            slots = std::clamp<int64_t>(track->FrameAt(int64_t{2} * sides * frameWidth) + 2, slots,
                                        kMostFrameSlots);
        }
        track->KeepFrames(static_cast<size_t>(slots));
        if (audioStream < 0 || track->index < audioStream)
            aboveAudio += track->frameHeight * zoom / 4;
    }
    if (audioStream >= 0 && aboveAudio < height)
        media.ReadWaveTrace(audioStream, media.streams[audioStream].start);
    media.canvas.assign(static_cast<size_t>(platform::kScreenWidth) * platform::kScreenHeight,
                        kBackground);
}

// The audio from the current time when there is a device for it; the clock
// is the platform's otherwise.
void LogoPlayer::Start(platform::Platform& window) {
    if (audioStream >= 0 && media_->StartAudio(window)) {
        media_->firstSampleTime = std::max(CurrentTime(), media_->streams[audioStream].start);
        audioPlaying = true;
        media_->Fill();
    } else if (media_->output) {
        media_->output.reset();
    }
    playing = true;
    playStartTick = window.Now();
    playStartTime = CurrentTime();
}

// The audio output's position when the audio plays, -1 otherwise.
int64_t LogoPlayer::Clock() {
    if (!audioPlaying) return -1;
    if (!media_->Fill()) {
        // Everything has been heard: the platform's clock takes over.
        media_->output->CloseStream();
        audioPlaying = false;
        return -1;
    }
    const platform::PcmFormat& f = media_->outFormat;
    const int64_t bytesPerSecond = int64_t{f.rate} * platform::FrameBytes(f);
    const auto played = static_cast<int64_t>(media_->output->StreamBytesPlayed());
    return media_->firstSampleTime + RoundedMulDiv(played, 1000, bytesPerSecond);
}

// How long to wait before looking at the clock again: until the next video
// frame is due, at most kLongestWait (the audio needs feeding).
uint32_t LogoPlayer::NextWait(int64_t time) const {
    if (!media_->video) return kLongestWait;
    const Ffmpeg& ff = media_->ff;
    const AVRational rate = media_->video->frameRate;
    const int64_t videoStart = media_->streams[videoStream].start;
    if (time < videoStart)
        return static_cast<uint32_t>(std::min<int64_t>(videoStart - time, kLongestWait));
    const int64_t frame =
        ff.av_rescale_rnd(time - videoStart, rate.num, int64_t{1000} * rate.den, AV_ROUND_DOWN);
    const int64_t due =
        videoStart + ff.av_rescale_rnd(frame + 1, int64_t{1000} * rate.den, rate.num, AV_ROUND_UP);
    return static_cast<uint32_t>(std::clamp<int64_t>(due - time, 1, kLongestWait));
}

bool LogoPlayer::Run(Dispatch dispatch) {
    if (!playing || !window_) return true;
    platform::Platform& p = *window_;
    for (;;) {
        platform::Message m;
        if (p.PeekMessage(m)) {
            p.Queue().Take(m);
            if (m.id == platform::MessageId::Quit) return false;
            if (dispatch) {
                dispatch(m);
            } else {
                HandleMessage(m);
            }
            continue;
        }
        if (!playing) break;
        int64_t time = Clock();
        if (time == -1)
            time = int64_t{static_cast<uint32_t>(p.Now() - playStartTick)} + playStartTime;
        if (time != CurrentTime()) {
            time = std::max(time, timeStart);
            if (time > timeEnd) break;
            position = PositionAtTime(timeStart, timeLength, time);
            Paint();
        }
        p.WaitForMessage(NextWait(time));
    }
    Release();
    // The window was activated before the logo began; the game hears of it now.
    if (activationSeen_) p.PostMessage(pendingActivation_);
    return true;
}

void LogoPlayer::HandleMessage(const platform::Message& m) {
    switch (m.id) {
        case platform::MessageId::Destroy:
        case platform::MessageId::Close:
            Release();
            if (window_) window_->PostQuitMessage(0);
            break;
        case platform::MessageId::ActivateApp:
            pendingActivation_ = m;
            activationSeen_ = true;
            break;
        default:
            // Keys, clicks and the rest do nothing while the logo plays.
            break;
    }
}

void LogoPlayer::Release() {
    playing = false;
    audioPlaying = false;
    media_.reset();
    streamCount = 0;
    videoStream = -1;
    audioStream = -1;
}

namespace {

// The picture being painted, and its painted part.
struct Canvas {
    std::vector<uint32_t>& pixels;
    int32_t width;
    int32_t height;

    void Fill(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t color) {
        left = std::max(left, 0);
        top = std::max(top, 0);
        right = std::min(right, width);
        bottom = std::min(bottom, height);
        for (int32_t y = top; y < bottom; ++y) {
            std::fill_n(&pixels[static_cast<size_t>(y) * platform::kScreenWidth + left],
                        std::max(0, right - left), color);
        }
    }

    // A frame zoomed to `w` x `h` with its top left corner at (left, top).
    void Frame(const VideoTrack& track, const FrameSlot& frame, int32_t left, int32_t top,
               int32_t w, int32_t h) {
        const int32_t x0 = std::max(left, 0), x1 = std::min(left + w, width);
        const int32_t y0 = std::max(top, 0), y1 = std::min(top + h, height);
        for (int32_t y = y0; y < y1; ++y) {
            const uint32_t* row =
                &frame.pixels[static_cast<size_t>((y - top) * track.frameHeight / h) *
                              static_cast<size_t>(track.frameWidth)];
            uint32_t* out = &pixels[static_cast<size_t>(y) * platform::kScreenWidth];
            for (int32_t x = x0; x < x1; ++x)
                out[x] = row[(x - left) * track.frameWidth / w] | 0xFF000000u;
        }
    }
};

// Paints one video stream's row of frames from `top` down; its height. The
// first video stream shows its frames one after the other around the current
// one; a further stream shows, beside its current frame, the frames a frame
// width of milliseconds earlier and later.
int32_t PaintVideo(Canvas& canvas, VideoTrack& track, const StreamTime& stream, bool first,
                   int32_t zoom, int32_t top, int64_t time) {
    const int32_t frameWidth = track.frameWidth * zoom / 4;
    const int32_t frameHeight = track.frameHeight * zoom / 4;
    if (frameWidth <= 0 || frameHeight <= 0) return 0;
    const int32_t sides = std::min(SideFrameCount(canvas.width, frameWidth), kMostSideFrames);
    const int64_t offset = time - stream.start;
    // The frame showing at `time`; before the stream it is negative (no frame).
    const int64_t base = offset >= 0 ? track.FrameAt(offset) : -1 - sides;
    const auto shown = [&](int32_t j) {
        return first ? base + j : track.FrameAt(offset + int64_t{j} * frameWidth);
    };
    track.DecodeUpTo(shown(sides), shown(-sides));
    for (int32_t j = -sides; j <= sides; ++j) {
        const int32_t left = FrameLeft(canvas.width, j, frameWidth);
        const int64_t at = first ? time : time + int64_t{j} * frameWidth;
        const FrameSlot* frame = at <= stream.end ? track.Find(shown(j)) : nullptr;
        if (frame) {
            canvas.Frame(track, *frame, left, top, frameWidth, frameHeight);
        } else {
            canvas.Fill(left, top, left + frameWidth, top + frameHeight, kNoFrameColor);
        }
    }
    // A one-pixel outline just outside the centre frame.
    const int32_t left = FrameLeft(canvas.width, 0, frameWidth) - 1, right = left + frameWidth + 2;
    const int32_t bottom = top + frameHeight;
    canvas.Fill(left, top - 1, right, top, kOutlineColor);
    canvas.Fill(left, bottom, right, bottom + 1, kOutlineColor);
    canvas.Fill(left, top - 1, left + 1, bottom + 1, kOutlineColor);
    canvas.Fill(right - 1, top - 1, right, bottom + 1, kOutlineColor);
    return frameHeight;
}

}  // namespace

void LogoPlayer::Paint() {
    Media& m = *media_;
    std::fill(m.canvas.begin(), m.canvas.end(), kBackground);
    Canvas canvas{m.canvas, width, height};
    const int64_t time = CurrentTime();
    // Stream after stream in table order, each below the last, while there is room.
    int32_t top = 0;
    size_t next = 0;
    for (int32_t i = 0; i < streamCount && top < height; ++i) {
        if (next < m.videos.size() && m.videos[next]->index == i) {
            VideoTrack& track = *m.videos[next++];
            top += PaintVideo(canvas, track, m.streams[i], &track == m.video, zoom, top, time);
        } else if (i == audioStream && m.wave.channels > 0) {
            PaintWaveStrip(m.canvas.data(), platform::kScreenWidth, width, height, top, m.wave,
                           time);
            top += kWaveStripHeight;
        }
    }
    window_->PresentTrueColor(m.canvas.data());
}

bool OpenLogo(platform::Platform* window, int32_t width, int32_t height, int32_t zoom,
              const std::string& path) {
    return g_logo.Open(window, width, height, zoom, path);
}

bool RunLogo(LogoPlayer::Dispatch dispatch) {
    return g_logo.Run(dispatch);
}

bool LogoPlaying() {
    return g_logo.playing;
}

void LogoMessage(const platform::Message& message) {
    g_logo.HandleMessage(message);
}

void CloseLogo() {
    g_logo.Release();
}

}  // namespace zoa
