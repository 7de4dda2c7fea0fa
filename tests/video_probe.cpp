#include "video_probe.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <array>
#include <cstddef>

namespace zoa::test {

DecodedVideo DecodeVideo(const std::string& path) {
    DecodedVideo d;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return d;
    bool ok = avformat_find_stream_info(format, nullptr) >= 0;
    const int video = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    std::array<AVCodecContext*, 8> decoders{};
    for (unsigned s = 0; s < format->nb_streams && s < decoders.size(); ++s) {
        const AVCodecParameters* par = format->streams[s]->codecpar;
        const AVCodec* codec = avcodec_find_decoder(par->codec_id);
        if (!codec) continue;
        decoders[s] = avcodec_alloc_context3(codec);
        avcodec_parameters_to_context(decoders[s], par);
        ok = avcodec_open2(decoders[s], codec, nullptr) >= 0 && ok;
        if (static_cast<int>(s) == video) d.codec = codec->name;
    }
    d.seconds = static_cast<double>(format->duration) / AV_TIME_BASE;
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    const auto take = [&](unsigned s) {
        AVCodecContext* codec = decoders[s];
        while (avcodec_receive_frame(codec, frame) >= 0) {
            if (static_cast<int>(s) == video) {
                ++d.frames;
                d.width = frame->width;
                d.height = frame->height;
                d.times.push_back(av_rescale_q(frame->best_effort_timestamp,
                                               format->streams[s]->time_base, {1, 1000}));
                d.lastLuma.resize(static_cast<size_t>(frame->width) * frame->height);
                for (int y = 0; y < frame->height; ++y) {
                    const uint8_t* row =
                        frame->data[0] + static_cast<ptrdiff_t>(y) * frame->linesize[0];
                    std::copy(row, row + frame->width,
                              d.lastLuma.begin() + static_cast<ptrdiff_t>(y) * frame->width);
                }
            } else if (codec->codec_type == AVMEDIA_TYPE_AUDIO) {
                d.audioSamples += frame->nb_samples;
                d.audioRate = frame->sample_rate;
                d.audioChannels = frame->ch_layout.nb_channels;
            }
        }
    };
    while (av_read_frame(format, packet) >= 0) {
        const int s = packet->stream_index;
        if (s >= 0 && s < static_cast<int>(decoders.size()) && decoders[s]) {
            avcodec_send_packet(decoders[s], packet);
            take(static_cast<unsigned>(s));
        }
        av_packet_unref(packet);
    }
    for (unsigned s = 0; s < decoders.size(); ++s) {
        if (!decoders[s]) continue;
        avcodec_send_packet(decoders[s], nullptr);
        take(s);
    }
    for (AVCodecContext*& codec : decoders) avcodec_free_context(&codec);
    av_frame_free(&frame);
    av_packet_free(&packet);
    avformat_close_input(&format);
    d.ok = ok;
    return d;
}

}  // namespace zoa::test
