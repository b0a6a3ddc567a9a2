#pragma once
// The FFmpeg owners the decompressors keep (shared with the general reader), the parser
// owner that only the AVI reader needs, and the set-up data copy.
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include "media/ffmpeg/ffmpeg_handles.h"

namespace Media::CodecHandles {

using CodecContext = Ffmpeg::CodecContext;
using Frame = Ffmpeg::Frame;
using Packet = Ffmpeg::Packet;
using Scale = Ffmpeg::ScaleContext;
using Resample = Ffmpeg::ResampleContext;

struct ParserDeleter {
  void operator()(AVCodecParserContext* parser) const { av_parser_close(parser); }
};
using Parser = std::unique_ptr<AVCodecParserContext, ParserDeleter>;

// Copies `size` bytes of a codec's set-up data into the context, zero-padded as libavcodec
// wants it. Returns false when the memory cannot be had.
bool setExtradata(AVCodecContext& context, const uint8_t* data, std::size_t size);

}  // namespace Media::CodecHandles
