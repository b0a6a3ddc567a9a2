#include "media/image/still_image_decode.h"

#include <cstring>
#include <string>

#include "gpu/image/image_buffer.h"
#include "gpu/pixel_format.h"
#include "media/image/imaging_codes.h"
#include "system/exception.h"
#include "system/log.h"

namespace Media {
namespace {

bool startsWith(std::span<const uint8_t> bytes, std::string_view magic, std::size_t at = 0) {
  return bytes.size() >= at + magic.size() &&
         std::memcmp(bytes.data() + at, magic.data(), magic.size()) == 0;
}

// The library's own words go to the log: the error text only names the step.
void logReason(const DecodeSource& source, std::string_view reason) {
  System::Log::warn(source.place, "%.*s\n%.*s", static_cast<int>(reason.size()), reason.data(),
                    static_cast<int>(source.name.size()), source.name.data());
}

}  // namespace

StillFormat detectStillFormat(std::span<const uint8_t> bytes) {
  using namespace std::string_view_literals;
  if (startsWith(bytes, "\x89PNG\r\n\x1a\n"sv)) return StillFormat::Png;
  if (startsWith(bytes, "\xff\xd8\xff"sv)) return StillFormat::Jpeg;
  if (startsWith(bytes, "BM"sv)) return StillFormat::Bmp;
  if (startsWith(bytes, "GIF87a"sv) || startsWith(bytes, "GIF89a"sv)) return StillFormat::Gif;
  if (startsWith(bytes, "II*\0"sv) || startsWith(bytes, "MM\0*"sv)) return StillFormat::Tiff;
  if (startsWith(bytes, "RIFF"sv) && startsWith(bytes, "WEBP"sv, 8)) return StillFormat::WebP;
  return StillFormat::Unknown;
}

void failDecode(const DecodeSource& source, const char* call, int32_t code,
                std::string_view reason) {
  logReason(source, reason);
  throw System::makeHresultException(call, source.place, code);
}

void failConversion(const DecodeSource& source, std::string_view reason) {
  logReason(source, reason);
  throw System::makeException(source.place, "IWICFormatConverter can not convert.");
}

std::shared_ptr<ImageBuffer> makeDecodedImage(const DecodeSource& source, uint64_t width,
                                              uint64_t height, SizeCheck check) {
  const ImageLimits& limits = source.limits;
  if (width == 0 || height == 0 || width > limits.maxSide || height > limits.maxSide ||
      width * height > limits.maxPixels) {
    const std::string reason = "picture of " + std::to_string(width) + " x " +
                               std::to_string(height) + " pixels refused";
    failDecode(source, DecodeStep::kSize, ImagingCode::kImageSizeOutOfRange, reason);
  }
  if (check == SizeCheck::Only) return nullptr;
  return ImageBuffer::makeShared(DxgiFormat::R8G8B8A8_UNORM, static_cast<uint32_t>(width),
                                 static_cast<uint32_t>(height));
}

std::shared_ptr<ImageBuffer> decodeStillImage(const DecodeSource& source) {
  const StillFormat format = detectStillFormat(source.bytes);
  switch (format) {
    case StillFormat::Png:
      return decodePng(source);
    case StillFormat::Jpeg:
      return decodeJpeg(source);
    case StillFormat::Bmp:
    case StillFormat::Gif:
    case StillFormat::Tiff:
    case StillFormat::WebP:
      return decodeWithFfmpeg(source, format);
    case StillFormat::Unknown:
      break;
  }
  failDecode(source, source.openCall, ImagingCode::kComponentNotFound,
             source.bytes.empty() ? "empty file" : "no decoder knows this content");
}

}  // namespace Media
