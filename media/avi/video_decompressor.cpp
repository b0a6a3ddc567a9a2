#include "media/avi/video_decompressor.h"

#include <climits>
#include <cstdlib>

#include "media/avi/avi_riff.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
}

namespace Media {

namespace {

// Pictures whose samples are luma and chroma can go out as YUY2 without a colour conversion;
// RGB, palette, Bayer and alpha-carrying pictures go out as 32-bit RGB.
bool isYuvPicture(int format) {
  const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(format));
  if (!descriptor) return false;
  constexpr uint64_t kNotYuv = AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL |
                               AV_PIX_FMT_FLAG_BAYER | AV_PIX_FMT_FLAG_ALPHA |
                               AV_PIX_FMT_FLAG_HWACCEL | AV_PIX_FMT_FLAG_FLOAT;
  return (descriptor->flags & kNotYuv) == 0;
}

uint32_t dibStride(int32_t width, uint16_t bitCount) {
  return (static_cast<uint32_t>(width) * bitCount / 8 + 3) & ~3u;
}

}  // namespace

VideoDecompressor::VideoDecompressor() = default;
VideoDecompressor::~VideoDecompressor() = default;

bool VideoDecompressor::open(std::span<const uint8_t> sourceFormat, uint32_t handler,
                             std::span<const uint8_t> probe) {
  close();
  if (sourceFormat.size() < Plugin::AviRiff::BitmapFormat::kSize) return false;
  sourceFormat_.assign(sourceFormat.begin(), sourceFormat.end());
  const auto format = Plugin::AviRiff::BitmapFormat::parse(sourceFormat_.data());
  const int64_t rows = std::llabs(static_cast<int64_t>(format.height));
  if (format.width <= 0 || format.width > Plugin::AviRiff::kMaxFrameSide || rows == 0 ||
      rows > Plugin::AviRiff::kMaxFrameSide ||
      format.width * rows > Plugin::AviRiff::kMaxFramePixels)
    return false;
  width_ = format.width;
  height_ = static_cast<int32_t>(rows);
  packet_.reset(av_packet_alloc());
  picture_.reset(av_frame_alloc());
  if (!packet_ || !picture_) return false;
  if (!openDecoder(handler) && !openDecoder(format.compression)) return false;
  if (!probeFormat(probe)) {
    close();
    return false;
  }
  if (setOutput(Plugin::AviRiff::kYuy2, 16) || setOutput(0, 32) || setOutput(0, 24)) return true;
  close();
  return false;
}

bool VideoDecompressor::openDecoder(uint32_t code) {
  if (code == 0) return false;
  const AVCodecTag* const tables[] = {avformat_get_riff_video_tags(), nullptr};
  const AVCodecID id = av_codec_get_id(tables, code);
  if (id == AV_CODEC_ID_NONE) return false;
  const AVCodec* codec = avcodec_find_decoder(id);
  if (!codec) return false;
  CodecHandles::CodecContext context(avcodec_alloc_context3(codec));
  if (!context) return false;
  const auto format = Plugin::AviRiff::BitmapFormat::parse(sourceFormat_.data());
  context->width = width_;
  context->height = height_;
  context->codec_tag = format.compression;
  context->bits_per_coded_sample = format.bitCount;
  // One thread: every chunk gives its picture at once, in file order, which the frame
  // numbering of the index relies on.
  context->thread_count = 1;
  context->max_pixels = Plugin::AviRiff::kMaxFramePixels;
  const std::size_t header = Plugin::AviRiff::BitmapFormat::kSize;
  if (!CodecHandles::setExtradata(*context, sourceFormat_.data() + header,
                                  sourceFormat_.size() - header))
    return false;
  if (avcodec_open2(context.get(), codec, nullptr) < 0) return false;
  context_ = std::move(context);
  return true;
}

bool VideoDecompressor::probeFormat(std::span<const uint8_t> probe) {
  if (context_->pix_fmt == AV_PIX_FMT_NONE && !probe.empty() && probe.size() <= INT_MAX) {
    std::vector<uint8_t> padded(probe.size() + AV_INPUT_BUFFER_PADDING_SIZE, 0);
    std::copy(probe.begin(), probe.end(), padded.begin());
    int format = AV_PIX_FMT_NONE;
    packet_->data = padded.data();
    packet_->size = static_cast<int>(probe.size());
    packet_->flags = AV_PKT_FLAG_KEY;
    const int sent = avcodec_send_packet(context_.get(), packet_.get());
    packet_->data = nullptr;
    packet_->size = 0;
    if (sent >= 0) {
      while (avcodec_receive_frame(context_.get(), picture_.get()) >= 0) {
        format = picture_->format;
        av_frame_unref(picture_.get());
      }
    }
    reset();
    if (format != AV_PIX_FMT_NONE) context_->pix_fmt = static_cast<AVPixelFormat>(format);
  }
  if (context_->pix_fmt == AV_PIX_FMT_NONE) return false;
  yuvSource_ = isYuvPicture(context_->pix_fmt);
  return true;
}

bool VideoDecompressor::setOutput(uint32_t compression, uint16_t bits) {
  if (!context_) return false;
  const auto source = Plugin::AviRiff::BitmapFormat::parse(sourceFormat_.data());
  const uint16_t bitCount = bits != 0 ? bits : source.bitCount;
  const bool yuy2 = compression == Plugin::AviRiff::kYuy2 && bitCount == 16 && yuvSource_;
  const bool rgb = compression == 0 && (bitCount == 32 || bitCount == 24);
  if (!yuy2 && !rgb) return false;
  output_ = BitmapInfoHeader{};
  output_.width = width_;
  output_.height = height_;
  output_.planes = 1;
  output_.bitCount = bitCount;
  output_.compression = compression;
  output_.sizeImage = static_cast<uint32_t>(height_) * dibStride(width_, bitCount);
  return true;
}

bool VideoDecompressor::decode(const uint8_t* data, uint32_t size, bool notKey) {
  if (!context_ || output_.bitCount == 0) return false;
  if (size == 0) return hasPicture_;
  if (size > INT_MAX - AV_INPUT_BUFFER_PADDING_SIZE) return false;
  if (outputBuffer_.size() < output_.sizeImage) outputBuffer_.resize(output_.sizeImage);
  const bool decoded = sendAndReceive(data, size, notKey);
  if (decoded) hasPicture_ = true;
  return decoded;
}

bool VideoDecompressor::sendAndReceive(const uint8_t* data, uint32_t size, bool notKey) {
  packet_->data = const_cast<uint8_t*>(data);  // libavcodec copies a packet it does not own
  packet_->size = static_cast<int>(size);
  packet_->flags = notKey ? 0 : AV_PKT_FLAG_KEY;
  const int sent = avcodec_send_packet(context_.get(), packet_.get());
  packet_->data = nullptr;
  packet_->size = 0;
  if (sent < 0) return false;
  bool converted = false;
  for (;;) {
    const int received = avcodec_receive_frame(context_.get(), picture_.get());
    if (received < 0) break;
    converted = convertPicture(*picture_);
    av_frame_unref(picture_.get());
    if (!converted) return false;
  }
  return converted;
}

bool VideoDecompressor::convertPicture(const AVFrame& picture) {
  if (picture.width <= 0 || picture.height <= 0 || picture.format < 0) return false;
  const bool yuy2 = output_.compression == Plugin::AviRiff::kYuy2;
  const AVPixelFormat target =
      yuy2 ? AV_PIX_FMT_YUYV422 : (output_.bitCount == 32 ? AV_PIX_FMT_BGRA : AV_PIX_FMT_BGR24);
  // A picture of another size than the header's is scaled to it: the description's size
  // does not change after the open.
  scale_.reset(sws_getCachedContext(scale_.release(), picture.width, picture.height,
                                    static_cast<AVPixelFormat>(picture.format), width_, height_,
                                    target, SWS_BICUBIC, nullptr, nullptr, nullptr));
  if (!scale_) return false;
  const int stride = static_cast<int>(dibStride(width_, output_.bitCount));
  uint8_t* planes[4] = {outputBuffer_.data(), nullptr, nullptr, nullptr};
  int strides[4] = {stride, 0, 0, 0};
  if (!yuy2) {
    // Bitmap RGB rows run bottom-up: start at the last row and step backwards.
    planes[0] = outputBuffer_.data() + static_cast<std::size_t>(height_ - 1) * stride;
    strides[0] = -stride;
  }
  const int rows = sws_scale(scale_.get(), picture.data, picture.linesize, 0, picture.height,
                             planes, strides);
  return rows > 0;
}

void VideoDecompressor::reset() {
  if (context_) avcodec_flush_buffers(context_.get());
  hasPicture_ = false;
}

void VideoDecompressor::close() {
  scale_.reset();
  context_.reset();
  picture_.reset();
  packet_.reset();
  hasPicture_ = false;
  yuvSource_ = false;
  output_ = BitmapInfoHeader{};
}

}  // namespace Media
