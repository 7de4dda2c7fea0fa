#pragma once
// FFmpeg, loaded the first time the logo or a recording needs it. The game
// links none of FFmpeg's libraries: with their own dependencies they are about
// a hundred shared libraries, which every start would pay for even when no
// video is played or written. The headers still give every function its type.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <string>

namespace zoa {

// The libraries, in the order they are loaded (each after those it needs).
enum class FfmpegLibrary { Avutil, Swresample, Swscale, Avcodec, Avformat };
constexpr int kFfmpegLibraryCount = 5;

// Every FFmpeg function src/video calls, with the library that holds it. Header
// functions that call into a library (av_err2str, for one) are not used: their
// calls would bypass this table.
#define ZOA_FFMPEG_FUNCTIONS(X)                 \
    X(Avutil, av_log_set_level)                 \
    X(Avutil, av_strerror)                      \
    X(Avutil, av_rescale_q)                     \
    X(Avutil, av_rescale_q_rnd)                 \
    X(Avutil, av_rescale_rnd)                   \
    X(Avutil, av_opt_set)                       \
    X(Avutil, av_frame_alloc)                   \
    X(Avutil, av_frame_free)                    \
    X(Avutil, av_frame_get_buffer)              \
    X(Avutil, av_frame_make_writable)           \
    X(Avutil, av_channel_layout_default)        \
    X(Avutil, av_channel_layout_copy)           \
    X(Avutil, av_channel_layout_uninit)         \
    X(Swresample, swr_alloc_set_opts2)          \
    X(Swresample, swr_init)                     \
    X(Swresample, swr_get_out_samples)          \
    X(Swresample, swr_convert)                  \
    X(Swresample, swr_free)                     \
    X(Swscale, sws_getCachedContext)            \
    X(Swscale, sws_scale)                       \
    X(Swscale, sws_freeContext)                 \
    X(Avcodec, avcodec_find_decoder)            \
    X(Avcodec, avcodec_find_encoder_by_name)    \
    X(Avcodec, avcodec_alloc_context3)          \
    X(Avcodec, avcodec_free_context)            \
    X(Avcodec, avcodec_parameters_to_context)   \
    X(Avcodec, avcodec_parameters_from_context) \
    X(Avcodec, avcodec_open2)                   \
    X(Avcodec, avcodec_send_packet)             \
    X(Avcodec, avcodec_receive_frame)           \
    X(Avcodec, avcodec_send_frame)              \
    X(Avcodec, avcodec_receive_packet)          \
    X(Avcodec, av_packet_alloc)                 \
    X(Avcodec, av_packet_free)                  \
    X(Avcodec, av_packet_unref)                 \
    X(Avcodec, av_packet_rescale_ts)            \
    X(Avformat, av_find_input_format)           \
    X(Avformat, avformat_open_input)            \
    X(Avformat, avformat_find_stream_info)      \
    X(Avformat, avformat_close_input)           \
    X(Avformat, av_read_frame)                  \
    X(Avformat, av_guess_format)                \
    X(Avformat, avformat_alloc_output_context2) \
    X(Avformat, avformat_query_codec)           \
    X(Avformat, avformat_new_stream)            \
    X(Avformat, avformat_write_header)          \
    X(Avformat, av_interleaved_write_frame)     \
    X(Avformat, av_write_trailer)               \
    X(Avformat, avformat_free_context)          \
    X(Avformat, avio_open)                      \
    X(Avformat, avio_closep)

// The loaded functions, each typed as its header declares it.
struct Ffmpeg {
// NOLINTNEXTLINE(bugprone-macro-parentheses): `name` is a function's name, not an expression.
#define ZOA_FFMPEG_POINTER(library, name) decltype(&::name) name = nullptr;
    ZOA_FFMPEG_FUNCTIONS(ZOA_FFMPEG_POINTER)
#undef ZOA_FFMPEG_POINTER
};

// The file name a library is loaded by: the one the headers were made for,
// e.g. "libavformat.so.59".
const char* FfmpegSoname(FfmpegLibrary library);

// Loads the libraries the first time and keeps them until the program ends.
// Null when one cannot be loaded or lacks a function, with *error naming the
// library and why; later calls give the same answer without trying again.
const Ffmpeg* LoadFfmpeg(std::string* error);

// For tests only: loading as if a library were missing or different.
namespace ffmpeg_testing {
// The next loads open `fileName` in place of `library`.
void ReplaceLibrary(FfmpegLibrary library, const std::string& fileName);
// Back to the real libraries; the next call of LoadFfmpeg loads again.
void Restore();
}  // namespace ffmpeg_testing

}  // namespace zoa
