#include "media/plugin/pipe_protocol.h"

#include <algorithm>

#include "media/image/bitmap_info_header.h"
#include "media/image/dib_convert.h"
#include "system/format.h"
#include "system/text.h"

namespace Plugin {
namespace {

std::string readText(System::Pipe& pipe) {
  std::u16string units;
  pipe.readString(units);
  return System::utf16ToUtf8(units);
}

bool isReaderPixelFormat(int32_t format) {
  switch (format) {
    case PixelFormat::kBgra:
    case PixelFormat::kBgrx:
    case PixelFormat::kYuy2:
    case PixelFormat::kRgba64Unorm:
    case PixelFormat::kRgba64Float:
    case PixelFormat::kYcc6:
      return true;
    default:
      return false;
  }
}

bool isConvertibleAudio(int32_t tag, int32_t bits, int32_t channels) {
  if (tag == kAudioTagPcm) return bits == 16 && channels == 2;
  if (tag == kAudioTagFloat) return bits == 32 && (channels == 1 || channels == 2);
  return false;
}

}  // namespace

PipePluginInfo readLoadReply(System::Pipe& pipe) {
  PipePluginInfo info;
  info.kinds = pipe.readInt() & (kPipeKindVideo | kPipeKindAudio | kPipeKindSettings);
  info.name = readText(pipe);
  std::u16string filter;
  pipe.readString(filter);
  info.filter = parseFileFilter(filter);
  info.information = readText(pipe);
  return info;
}

System::Filter parseFileFilter(std::u16string_view list) {
  System::Filter filter;
  // Takes the text up to the next NUL (or the end), or nothing when no text is left.
  const auto next = [&list]() -> std::optional<std::u16string_view> {
    if (list.empty()) return std::nullopt;
    const auto end = list.find(u'\0');
    const std::u16string_view text = list.substr(0, end);
    list.remove_prefix(end == std::u16string_view::npos ? list.size() : end + 1);
    return text;
  };
  for (;;) {
    const auto label = next();
    if (!label || label->empty()) break;
    const auto patterns = next();
    if (!patterns) break;
    filter.push_back({System::utf16ToUtf8(*label), System::utf16ToUtf8(*patterns)});
  }
  return filter;
}

PipeOpenReply readOpenReply(System::Pipe& pipe) {
  PipeOpenReply reply;
  reply.handle = pipe.readInt();
  if (reply.handle == 0) return reply;
  MediaDescription& d = reply.description;
  d.kinds = pipe.readInt() & (kKindVideo | kKindAudio);
  if (d.hasVideo()) {
    d.frameCount = pipe.readInt();
    d.pixelFormat = pipe.readInt();
    d.width = pipe.readInt();
    d.height = pipe.readInt();
    d.rate = pipe.readInt();
    d.scale = pipe.readInt();
  }
  if (d.hasAudio()) {
    d.audioSampleCount = pipe.readInt64();
    d.audioFormatTag = pipe.readInt();
    d.bitsPerSample = pipe.readInt();
    d.channels = pipe.readInt();
    d.samplingRate = pipe.readInt();
  }
  return reply;
}

std::optional<std::string> checkDescription(const MediaDescription& d) {
  using namespace PipeLimits;
  if (d.hasVideo()) {
    if (d.frameCount <= 0) return System::formatString("frame count = %d", d.frameCount);
    if (!isReaderPixelFormat(d.pixelFormat))
      return System::formatString("dxgi format = %d", d.pixelFormat);
    if (d.width <= 0 || d.width > kMaxFrameSide || d.height <= 0 || d.height > kMaxFrameSide ||
        int64_t{d.width} * d.height > kMaxFramePixels)
      return System::formatString("width = %d, height = %d", d.width, d.height);
    if (d.rate <= 0 || d.scale <= 0)
      return System::formatString("rate = %d, scale = %d", d.rate, d.scale);
  }
  if (d.hasAudio()) {
    if (d.audioSampleCount < 0)
      return System::formatString("sample count = %lld",
                                  static_cast<long long>(d.audioSampleCount));
    if (d.samplingRate <= 0 || d.samplingRate > kMaxSamplingRate)
      return System::formatString("sampling rate = %d", d.samplingRate);
    if (!isConvertibleAudio(d.audioFormatTag, d.bitsPerSample, d.channels))
      return System::formatString("format = %d, bit = %d, ch = %d", d.audioFormatTag,
                                  d.bitsPerSample, d.channels);
  }
  return std::nullopt;
}

uint32_t videoBlockBytes(const MediaDescription& d) {
  Media::BitmapInfoHeader header;
  Media::getBitmapInfoHeader(header, d.pixelFormat, d.width, d.height);
  return header.sizeImage;
}

uint32_t audioBlockBytes(const MediaDescription& d) {
  // At most 2 channels x 4 bytes x 768,000 for a checked description.
  return static_cast<uint32_t>(std::max(d.channels, 0)) *
         static_cast<uint32_t>(std::max(d.bitsPerSample / 8, 0)) *
         static_cast<uint32_t>(std::max(d.samplingRate, 0));
}

}  // namespace Plugin
