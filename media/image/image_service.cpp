#include "media/image/image_service.h"

#include <cstdio>
#include <vector>

#include "gpu/image/image_buffer.h"
#include "media/image/file_bytes.h"
#include "media/image/imaging_codes.h"
#include "media/image/pixel_layout.h"
#include "media/image/still_image_encode.h"
#include "system/exception.h"
#include "system/file.h"
#include "system/log.h"

namespace Media {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The largest file worth reading: an uncompressed picture at the pixel limit with 16-bit
// channels and alpha, and room for its headers.
uint64_t maxFileBytes(const ImageLimits& limits) {
  return limits.maxPixels * 8 + (uint64_t{64} << 20);
}

}  // namespace

ImageService::ImageService(ImageLimits limits) : limits_(limits) {}

ImageService& ImageService::Get() {
  ImageService* service = instance();
  if (!service) throw System::makeException("Media::ImageService::Get", "ImageService not created.");
  return *service;
}

std::shared_ptr<ImageBuffer> ImageService::loadFromFile(const std::string& path) const {
  constexpr const char* kPlace = "Media::ImageService::loadFromFile";
  constexpr const char* kOpenCall = "factory->CreateDecoderFromFilename";
  const std::vector<uint8_t> bytes = readFileBytes(path, maxFileBytes(limits_), kOpenCall, kPlace);
  return decodeStillImage({bytes, limits_, kPlace, kOpenCall, path});
}

std::shared_ptr<ImageBuffer> ImageService::loadFromMemory(std::span<const uint8_t> bytes) const {
  return decodeStillImage({bytes, limits_, "Media::ImageService::loadFromMemory",
                           "factory->CreateDecoderFromStream", "(memory)"});
}

void ImageService::saveToFile(const std::string& path, const uint8_t* pixels, uint32_t width,
                              uint32_t height, uint32_t pitch, const FormatGuid& sourceFormat,
                              FormatGuid& pixelFormatRequest,
                              const std::optional<EncoderOption>& option) const {
  constexpr const char* kPlace = "Media::ImageService::saveToFile";
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wbe"));
  if (!file) throw System::makeLastErrorException("stream->InitializeFromFilename", kPlace);
  // From here on a failure removes the file again.
  System::File::DeleteGuard removeOnFailure(&path);

  const StillEncoder* encoder = findEncoder(pixelFormatRequest);
  if (!encoder)
    throw System::makeHresultException("factory->CreateEncoder", kPlace,
                                       ImagingCode::kComponentNotFound);
  float quality = kDefaultJpegQuality;
  if (option) {
    if (!encoder->takesQuality || option->name != "ImageQuality")
      throw System::makeHresultException("frame->Initialize", kPlace,
                                         ImagingCode::kPropertyNotFound);
    if (!(option->value >= 0.0f && option->value <= 1.0f))
      throw System::makeHresultException("frame->Initialize", kPlace,
                                         ImagingCode::kInvalidArgument);
    quality = option->value;
  }
  if (width == 0 || height == 0 || width > limits_.maxSide || height > limits_.maxSide ||
      uint64_t{width} * height > limits_.maxPixels)
    throw System::makeHresultException("frame->SetSize", kPlace,
                                       ImagingCode::kImageSizeOutOfRange);

  const PixelLayout* from = findPixelLayout(sourceFormat);
  // The request held the container; from here on it holds the layout that is written.
  pixelFormatRequest = from && from->hasAlpha() ? encoder->alphaChoice : encoder->opaqueChoice;
  const PixelLayout* to = findPixelLayout(pixelFormatRequest);

  if (!pixels || (from && pitch < uint64_t{width} * from->bytesPerPixel))
    throw System::makeHresultException("factory->CreateBitmapFromMemory", kPlace,
                                       ImagingCode::kInvalidArgument);
  if (!from || !to) throw System::makeException(kPlace, "IWICFormatConverter can not convert.");

  const std::size_t stride = std::size_t{width} * to->bytesPerPixel;
  std::vector<uint8_t> converted(stride * height);
  for (uint32_t y = 0; y < height; ++y)
    convertPixelRow(*from, pixels + std::size_t{y} * pitch, *to, converted.data() + y * stride,
                    width);

  const std::string reason =
      encoder->write(file.get(), {converted.data(), width, height, stride, *to}, quality);
  if (!reason.empty()) {
    System::Log::warn(kPlace, "%s\n%s", reason.c_str(), path.c_str());
    throw System::makeHresultException("frame->WriteSource", kPlace, ImagingCode::kStreamWrite);
  }
  if (std::fclose(file.release()) != 0)
    throw System::makeLastErrorException("encoder->Commit", kPlace);
  removeOnFailure.clear();
}

}  // namespace Media
