#pragma once
// Owning handles for the FFmpeg objects the readers keep, so that every context, frame and
// packet is released on every path, exceptions included.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <memory>
#include <string_view>

#include "system/exception.h"

namespace Media::Ffmpeg {

struct FormatContextDeleter {
  void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct CodecContextDeleter {
  void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameDeleter {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketDeleter {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct ScaleContextDeleter {
  void operator()(SwsContext* context) const { sws_freeContext(context); }
};
struct ResampleContextDeleter {
  void operator()(SwrContext* context) const { swr_free(&context); }
};

using FormatContext = std::unique_ptr<AVFormatContext, FormatContextDeleter>;
using CodecContext = std::unique_ptr<AVCodecContext, CodecContextDeleter>;
using Frame = std::unique_ptr<AVFrame, FrameDeleter>;
using Packet = std::unique_ptr<AVPacket, PacketDeleter>;
using ScaleContext = std::unique_ptr<SwsContext, ScaleContextDeleter>;
using ResampleContext = std::unique_ptr<SwrContext, ResampleContextDeleter>;

// A new frame or packet; an allocation failure throws the out-of-memory error.
Frame makeFrame(std::string_view place);
Packet makePacket(std::string_view place);

// The failure of an FFmpeg call as the program's error: the call's name, the place and a
// code that carries the errno behind the FFmpeg error when there is one.
System::Exception makeError(std::string_view call, std::string_view place, int error);

// Sends FFmpeg's own warnings and errors to the program's log instead of the terminal. Done
// once per process; later calls do nothing.
void routeLibraryLog();

}  // namespace Media::Ffmpeg
