#include "media/avi/avi_frame_copy.h"

#include <cstdlib>
#include <cstring>

#include "media/input/input_file.h"

namespace Plugin::AviFrameCopy {

uint64_t rowBytes(const Media::BitmapInfoHeader& header) {
  if (header.width <= 0) return 0;
  return (static_cast<uint64_t>(header.width) * header.bitCount / 8 + 3) & ~uint64_t{3};
}

uint64_t frameBytes(const Media::BitmapInfoHeader& header) {
  return rowBytes(header) * static_cast<uint64_t>(std::llabs(int64_t{header.height}));
}

void copyFromDib(const Media::BitmapInfoHeader& header, const uint8_t* pixels,
                 Media::ImageBuffer& image) {
  const uint64_t stride = rowBytes(header);
  const uint32_t rows = image.height;
  const uint32_t width = image.width;
  const bool bottomUp = header.height > 0;
  const auto sourceRow = [&](uint32_t y) {
    const uint32_t stored = bottomUp ? rows - 1 - y : y;
    return pixels + stored * stride;
  };
  const bool sameSize = static_cast<uint64_t>(header.width) == width &&
                        static_cast<uint64_t>(std::llabs(int64_t{header.height})) == rows;
  const int32_t format = image.format;
  if (sameSize && header.bitCount == 32 && format == PixelFormat::kBgra) {
    for (uint32_t y = 0; y < rows; ++y) std::memcpy(image.row(y), sourceRow(y), width * 4u);
  } else if (sameSize && header.bitCount == 24 && format == PixelFormat::kBgrx) {
    for (uint32_t y = 0; y < rows; ++y) {
      const uint8_t* from = sourceRow(y);
      uint8_t* to = image.row(y);
      for (uint32_t x = 0; x < width; ++x, from += 3, to += 4) {
        to[0] = from[0];
        to[1] = from[1];
        to[2] = from[2];
        to[3] = 0;
      }
    }
  } else if (sameSize && header.bitCount == 16 && format == PixelFormat::kYuy2) {
    // YUY2 rows are stored top-down whatever the sign of the height.
    for (uint32_t y = 0; y < rows; ++y)
      std::memcpy(image.row(y), pixels + y * stride, width * 2u);
  } else if (sameSize && header.bitCount == 64 &&
             (format == PixelFormat::kRgba64Unorm || format == PixelFormat::kRgba64Float)) {
    if (stride == image.pitch)
      std::memcpy(image.data(), pixels, stride * rows);
    else
      for (uint32_t y = 0; y < rows; ++y)
        std::memcpy(image.row(y), pixels + y * stride, width * 8u);
  } else if (image.usedSize() > 0) {
    std::memset(image.data(), 0, image.usedSize());
  }
}

}  // namespace Plugin::AviFrameCopy
