#include "gpu/image/image_buffer.h"

#include <algorithm>
#include <cstring>

#include "gpu/pixel_format.h"
#include "system/exception.h"

namespace Media {

ImageBuffer::ImageBuffer(int32_t imageFormat, uint32_t imageWidth, uint32_t imageHeight,
                         uint32_t imagePitch)
    : format(imageFormat) {
  allocate(imageWidth, imageHeight, imagePitch);
}

std::shared_ptr<ImageBuffer> ImageBuffer::makeShared(int32_t format, uint32_t width,
                                                     uint32_t height) {
  return std::make_shared<ImageBuffer>(format, width, height, 0);
}

uint32_t ImageBuffer::getBytesPerPixel(int32_t format) {
  switch (format) {
    case DxgiFormat::R16G16B16A16_FLOAT:
    case DxgiFormat::R16G16B16A16_UNORM:
    case DxgiFormat::R16G16B16A16_SNORM:
      return 8;
    case DxgiFormat::R8G8B8A8_UNORM:
    case DxgiFormat::B8G8R8A8_UNORM:
    case DxgiFormat::B8G8R8X8_UNORM:
      return 4;
    case DxgiFormat::YUY2:
      return 2;
    default:
      return 0;
  }
}

uint32_t ImageBuffer::getDefaultPitchSize(int32_t format, uint32_t width) {
  const uint32_t bytes = getBytesPerPixel(format);
  if (bytes == 0)
    throw System::makeFormattedException("Media::ImageBuffer::getDefaultPitchSize",
                                         "image format not supported.", "dxgi format = %d", format);
  const uint64_t pitch = (static_cast<uint64_t>(bytes) * width + 31) & ~uint64_t{31};
  if (pitch > UINT32_MAX)
    throw System::makeWin32ErrorException("Media::ImageBuffer::getDefaultPitchSize",
                                          System::kWin32ErrorOutOfMemory);
  return static_cast<uint32_t>(pitch);
}

void ImageBuffer::allocate(uint32_t imageWidth, uint32_t imageHeight, uint32_t imagePitch) {
  if (imagePitch == 0) imagePitch = getDefaultPitchSize(format, imageWidth);
  width = imageWidth;
  height = imageHeight;
  pitch = imagePitch;
  // height x pitch of at most 2^64 - 2^33: AlignedBuffer rounds it up to 32 itself.
  pixels.allocMemory(static_cast<uint64_t>(height) * pitch);
}

void ImageBuffer::packYuy2(const uint8_t* source, uint32_t sourceWidth, uint32_t sourceHeight,
                           uint32_t sourcePitch) {
  const uint32_t rows = std::min(sourceHeight, height);
  const uint32_t columns = std::min(sourceWidth, width);
  const uint32_t pairs = (columns + 1) / 2;
  // The packed row must hold its pairs.
  if (static_cast<uint64_t>(pairs) * 4 > pitch) return;
  for (uint32_t y = 0; y < rows; ++y) {
    const uint8_t* in = source + static_cast<uint64_t>(y) * sourcePitch;
    uint8_t* out = row(y);
    for (uint32_t pair = 0; pair < pairs; ++pair) {
      const uint32_t first = pair * 2;
      const uint32_t second = first + 1 < columns ? first + 1 : first;
      out[pair * 4 + 0] = in[first * 4 + 0];
      out[pair * 4 + 1] = in[first * 4 + 1];
      out[pair * 4 + 2] = in[second * 4 + 0];
      out[pair * 4 + 3] = in[first * 4 + 2];
    }
  }
}

}  // namespace Media
