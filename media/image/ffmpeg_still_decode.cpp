// The still formats without a library of their own (BMP, GIF, TIFF, WebP, CMYK JPEG) through
// FFmpeg's decoder of the format: the whole file is one packet, the first frame it gives is
// the picture, and swscale turns whatever layout the decoder chose into R, G, B, A.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <string>

#include "gpu/image/image_buffer.h"
#include "media/image/imaging_codes.h"
#include "media/image/still_image_decode.h"

namespace Media {
namespace {

struct CodecContextDeleter {
  void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct PacketDeleter {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FrameDeleter {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct ScaleDeleter {
  void operator()(SwsContext* context) const { sws_freeContext(context); }
};
using CodecContext = std::unique_ptr<AVCodecContext, CodecContextDeleter>;
using Packet = std::unique_ptr<AVPacket, PacketDeleter>;
using Frame = std::unique_ptr<AVFrame, FrameDeleter>;
using ScaleContext = std::unique_ptr<SwsContext, ScaleDeleter>;

AVCodecID codecOf(StillFormat format) {
  switch (format) {
    case StillFormat::Bmp:
      return AV_CODEC_ID_BMP;
    case StillFormat::Gif:
      return AV_CODEC_ID_GIF;
    case StillFormat::Tiff:
      return AV_CODEC_ID_TIFF;
    case StillFormat::WebP:
      return AV_CODEC_ID_WEBP;
    case StillFormat::Jpeg:
      return AV_CODEC_ID_MJPEG;
    case StillFormat::Png:
    case StillFormat::Unknown:
      break;
  }
  return AV_CODEC_ID_NONE;
}

std::string errorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

// Decodes the single packet into `frame`; a negative FFmpeg code on failure.
int decodeFirstFrame(AVCodecContext* context, AVPacket* packet, AVFrame* frame) {
  int result = avcodec_send_packet(context, packet);
  if (result < 0) return result;
  result = avcodec_receive_frame(context, frame);
  if (result != AVERROR(EAGAIN)) return result;
  // A decoder that holds its output back gives it at the end of the stream.
  result = avcodec_send_packet(context, nullptr);
  if (result < 0) return result;
  return avcodec_receive_frame(context, frame);
}

// Converts through a padded frame of FFmpeg's own: swscale's vector code may write past the
// last pixel of a row, which the image's pitch does not always leave room for.
void convertToRgba(const DecodeSource& source, const AVFrame& frame, ImageBuffer& image) {
  const auto format = static_cast<AVPixelFormat>(frame.format);
  const char* formatName = av_get_pix_fmt_name(format);
  const std::string layout = formatName ? formatName : "unknown layout";
  if (sws_isSupportedInput(format) <= 0) failConversion(source, layout);
  ScaleContext scale(sws_getContext(frame.width, frame.height, format, frame.width, frame.height,
                                    AV_PIX_FMT_RGBA,
                                    SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT,
                                    nullptr, nullptr, nullptr));
  if (!scale) failConversion(source, layout);
  Frame rgba(av_frame_alloc());
  if (!rgba) failDecode(source, DecodeStep::kPixels, ImagingCode::kOutOfMemory, "no frame");
  rgba->format = AV_PIX_FMT_RGBA;
  rgba->width = frame.width;
  rgba->height = frame.height;
  if (const int result = av_frame_get_buffer(rgba.get(), 0); result < 0)
    failDecode(source, DecodeStep::kPixels, ImagingCode::kOutOfMemory, errorText(result));
  if (sws_scale(scale.get(), frame.data, frame.linesize, 0, frame.height, rgba->data,
                rgba->linesize) != frame.height)
    failConversion(source, layout);
  const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 4;
  for (uint32_t y = 0; y < image.height; ++y)
    std::memcpy(image.row(y), rgba->data[0] + static_cast<std::ptrdiff_t>(y) * rgba->linesize[0],
                rowBytes);
}

}  // namespace

std::shared_ptr<ImageBuffer> decodeWithFfmpeg(const DecodeSource& source, StillFormat format) {
  const AVCodec* codec = avcodec_find_decoder(codecOf(format));
  if (!codec)
    failDecode(source, source.openCall, ImagingCode::kComponentNotFound, "no FFmpeg decoder");
  CodecContext context(avcodec_alloc_context3(codec));
  if (!context) failDecode(source, source.openCall, ImagingCode::kOutOfMemory, "no codec context");
  context->thread_count = 1;
  // FFmpeg refuses a picture above this many pixels before it allocates one; the side
  // limit is checked on the decoded frame.
  context->max_pixels = static_cast<int64_t>(std::min<uint64_t>(source.limits.maxPixels, INT_MAX));
  if (const int result = avcodec_open2(context.get(), codec, nullptr); result < 0)
    failDecode(source, source.openCall, ImagingCode::kBadHeader, errorText(result));

  // The packet is one int-sized block with zeroed padding behind it, as decoders expect.
  if (source.bytes.size() > static_cast<std::size_t>(INT_MAX - AV_INPUT_BUFFER_PADDING_SIZE))
    failDecode(source, source.openCall, ImagingCode::kImageSizeOutOfRange, "file too large");
  Packet packet(av_packet_alloc());
  if (!packet || av_new_packet(packet.get(), static_cast<int>(source.bytes.size())) < 0)
    failDecode(source, source.openCall, ImagingCode::kOutOfMemory, "no packet");
  if (!source.bytes.empty())
    std::memcpy(packet->data, source.bytes.data(), source.bytes.size());

  Frame frame(av_frame_alloc());
  if (!frame) failDecode(source, DecodeStep::kFrame, ImagingCode::kOutOfMemory, "no frame");
  if (const int result = decodeFirstFrame(context.get(), packet.get(), frame.get()); result < 0)
    failDecode(source, DecodeStep::kPixels, ImagingCode::kBadImage, errorText(result));
  if (frame->width <= 0 || frame->height <= 0)
    failDecode(source, DecodeStep::kSize, ImagingCode::kImageSizeOutOfRange, "empty frame");
  auto image = makeDecodedImage(source, static_cast<uint64_t>(frame->width),
                                static_cast<uint64_t>(frame->height));
  convertToRgba(source, *frame, *image);
  return image;
}

}  // namespace Media
