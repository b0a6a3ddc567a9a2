#pragma once
// Owners for the libavcodec, libswscale and libswresample objects the decompressors keep, so
// that every path out of a decompressor (a failed open, an exception while decoding) frees
// them.
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace Media::CodecHandles {

struct CodecContextDeleter {
  void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameDeleter {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketDeleter {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct ParserDeleter {
  void operator()(AVCodecParserContext* parser) const { av_parser_close(parser); }
};
struct ScaleDeleter {
  void operator()(SwsContext* scale) const { sws_freeContext(scale); }
};
struct ResampleDeleter {
  void operator()(SwrContext* resample) const { swr_free(&resample); }
};

using CodecContext = std::unique_ptr<AVCodecContext, CodecContextDeleter>;
using Frame = std::unique_ptr<AVFrame, FrameDeleter>;
using Packet = std::unique_ptr<AVPacket, PacketDeleter>;
using Parser = std::unique_ptr<AVCodecParserContext, ParserDeleter>;
using Scale = std::unique_ptr<SwsContext, ScaleDeleter>;
using Resample = std::unique_ptr<SwrContext, ResampleDeleter>;

// Copies `size` bytes of a codec's set-up data into the context, zero-padded as libavcodec
// wants it. Returns false when the memory cannot be had.
bool setExtradata(AVCodecContext& context, const uint8_t* data, std::size_t size);

}  // namespace Media::CodecHandles
