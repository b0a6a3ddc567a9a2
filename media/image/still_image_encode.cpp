#include "media/image/still_image_encode.h"

#include <png.h>
#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "media/image/pixel_layout.h"

namespace Media {
namespace {

std::string writePng(std::FILE* file, const EncoderPicture& picture, float) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = picture.width;
  image.height = picture.height;
  const bool bgr = picture.layout.blue < picture.layout.red;
  image.format = picture.layout.hasAlpha() ? (bgr ? PNG_FORMAT_BGRA : PNG_FORMAT_RGBA)
                                           : (bgr ? PNG_FORMAT_BGR : PNG_FORMAT_RGB);
  // The row stride of the simplified interface counts components, one byte each here.
  const int written = png_image_write_to_stdio(&image, file, 0, picture.pixels,
                                               static_cast<png_int_32>(picture.stride), nullptr);
  std::string reason = written ? std::string() : std::string(image.message);
  png_image_free(&image);
  if (reason.empty() && std::ferror(file)) reason = "the file could not be written";
  return reason;
}

struct TurboJpegDeleter {
  void operator()(void* handle) const { tjDestroy(handle); }
};
struct TurboJpegBufferDeleter {
  void operator()(unsigned char* buffer) const { tjFree(buffer); }
};

std::string writeJpeg(std::FILE* file, const EncoderPicture& picture, float quality) {
  std::unique_ptr<void, TurboJpegDeleter> handle(tjInitCompress());
  if (!handle) return tjGetErrorStr2(nullptr);
  const bool bgr = picture.layout.blue < picture.layout.red;
  // Quality 0..1 maps onto the library's 1..100.
  const int level = std::clamp(static_cast<int>(std::lround(quality * 100.0f)), 1, 100);
  unsigned char* output = nullptr;
  unsigned long outputSize = 0;
  const int result = tjCompress2(handle.get(), picture.pixels, static_cast<int>(picture.width),
                                 static_cast<int>(picture.stride),
                                 static_cast<int>(picture.height), bgr ? TJPF_BGR : TJPF_RGB,
                                 &output, &outputSize, TJSAMP_420, level, 0);
  std::unique_ptr<unsigned char, TurboJpegBufferDeleter> encoded(output);
  if (result != 0) return tjGetErrorStr2(handle.get());
  if (std::fwrite(encoded.get(), 1, outputSize, file) != outputSize)
    return "the file could not be written";
  return {};
}

const StillEncoder kEncoders[] = {
    {ImageFormat::kContainerPng, ImageFormat::kPixel24bppBgr,
     ImageFormat::kPixel32bppBgra, false, writePng},
    {ImageFormat::kContainerJpeg, ImageFormat::kPixel24bppBgr,
     ImageFormat::kPixel24bppBgr, true, writeJpeg},
};

}  // namespace

const StillEncoder* findEncoder(const FormatGuid& container) {
  for (const auto& encoder : kEncoders)
    if (encoder.container == container) return &encoder;
  return nullptr;
}

}  // namespace Media
