#include "media/image/dib_convert.h"

#include <algorithm>
#include <cstring>

#include "gpu/pixel_format.h"
#include "system/exception.h"

namespace Media {
namespace {

// How one image format is laid out as DIB pixels.
struct DibLayout {
  int32_t format;
  uint16_t bitCount;
  uint32_t compression;
};

constexpr DibLayout kLayouts[] = {
    {DxgiFormat::B8G8R8A8_UNORM, 32, kBitmapCompressionRgb},
    {DxgiFormat::B8G8R8X8_UNORM, 24, kBitmapCompressionRgb},
    {DxgiFormat::YUY2, 16, dibFourCc('Y', 'U', 'Y', '2')},
    {DxgiFormat::R16G16B16A16_UNORM, 64, dibFourCc('R', 'U', '6', '4')},
    {DxgiFormat::R16G16B16A16_FLOAT, 64, dibFourCc('R', 'F', '6', '4')},
    {DxgiFormat::R16G16B16A16_SNORM, 48, dibFourCc('Y', 'C', 'C', '6')},
};

// The copies the two directions know, by the header's bit count with the image's format.
enum class DibCase { None, RowsAsIs, Rgb24, Rgb32, Ycc48, Wide64 };

DibCase dibCase(uint16_t bitCount, int32_t format) {
  if (bitCount == 16 && format == DxgiFormat::YUY2) return DibCase::RowsAsIs;
  if (bitCount == 24 && format == DxgiFormat::B8G8R8X8_UNORM) return DibCase::Rgb24;
  if (bitCount == 32 && format == DxgiFormat::B8G8R8A8_UNORM) return DibCase::Rgb32;
  if (bitCount == 48 && format == DxgiFormat::R16G16B16A16_SNORM) return DibCase::Ycc48;
  if (bitCount == 64 &&
      (format == DxgiFormat::R16G16B16A16_FLOAT || format == DxgiFormat::R16G16B16A16_UNORM))
    return DibCase::Wide64;
  return DibCase::None;
}

// The header and the pixel block must describe exactly this image, and the image's rows must
// hold its pixels, before a row is touched: the header and its pixels may come from a
// plug-in, and a mismatch would read or write past one of the buffers.
void checkSizes(const char* place, const ImageBuffer& image, const BitmapInfoHeader& header,
                uint64_t pixelBytes) {
  const uint64_t stride = getDibStride(header.width, header.bitCount);
  const uint64_t rowBytes =
      static_cast<uint64_t>(image.width) * ImageBuffer::getBytesPerPixel(image.format);
  const bool sameSize = header.width >= 0 && header.height >= 0 &&
                        static_cast<uint32_t>(header.width) == image.width &&
                        static_cast<uint32_t>(header.height) == image.height;
  const bool pixelsFit = sameSize && stride * image.height <= pixelBytes;
  const bool imageFits = image.pitch >= rowBytes &&
                         image.usedSize() >= static_cast<uint64_t>(image.pitch) * image.height;
  if (!pixelsFit || !imageFits)
    throw System::makeFormattedException(
        place, "invalid image size.", "dib = %dx%d %u bit (%llu bytes), image = %ux%u pitch %u",
        header.width, header.height, static_cast<unsigned>(header.bitCount),
        static_cast<unsigned long long>(pixelBytes), image.width, image.height, image.pitch);
}

// The 24- and 48-bit DIB pixels are three components of 1 or 2 bytes (`size` 3 or 6); the
// image keeps a fourth, zero component after them (4 or 8 bytes per pixel).
void repackToImage(uint8_t* to, const uint8_t* from, uint32_t count, uint32_t size) {
  const uint32_t toStep = size / 3 * 4;
  for (uint32_t i = 0; i < count; ++i) {
    std::memcpy(to + static_cast<uint64_t>(i) * toStep, from + static_cast<uint64_t>(i) * size,
                size);
    std::memset(to + static_cast<uint64_t>(i) * toStep + size, 0, toStep - size);
  }
}

// The other way: the image's fourth component is dropped.
void repackToDib(uint8_t* to, const uint8_t* from, uint32_t count, uint32_t size) {
  const uint32_t fromStep = size / 3 * 4;
  for (uint32_t i = 0; i < count; ++i)
    std::memcpy(to + static_cast<uint64_t>(i) * size, from + static_cast<uint64_t>(i) * fromStep,
                size);
}

}  // namespace

uint64_t getDibStride(int32_t width, uint32_t bitCount) {
  if (width <= 0) return 0;
  return (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4;
}

void getBitmapInfoHeader(BitmapInfoHeader& header, int32_t format, int32_t width, int32_t height) {
  const auto* layout = std::find_if(std::begin(kLayouts), std::end(kLayouts),
                                    [&](const DibLayout& l) { return l.format == format; });
  if (layout == std::end(kLayouts))
    throw System::makeFormattedException("Media::ImageBuffer::getBitmapInfoHeader",
                                         "image format not supported.", "dxgi format = %d", format);
  const uint64_t sizeImage =
      getDibStride(width, layout->bitCount) * static_cast<uint64_t>(std::max(height, 0));
  if (width < 0 || height < 0 || sizeImage > UINT32_MAX)
    throw System::makeFormattedException("Media::ImageBuffer::getBitmapInfoHeader",
                                         "invalid image size.", "width = %d, height = %d", width,
                                         height);
  header.size = sizeof(BitmapInfoHeader);
  header.width = width;
  header.height = height;
  header.planes = 1;
  header.bitCount = layout->bitCount;
  header.compression = layout->compression;
  header.sizeImage = static_cast<uint32_t>(sizeImage);
}

void copyFromDib(ImageBuffer& image, const BitmapInfoHeader& header, const uint8_t* pixels,
                 uint64_t pixelBytes) {
  const DibCase which = dibCase(header.bitCount, image.format);
  if (which == DibCase::None) {
    if (image.usedSize() > 0) std::memset(image.data(), 0, image.usedSize());
    return;
  }
  checkSizes("Media::ImageBuffer::copyFromDib", image, header, pixelBytes);
  const uint64_t stride = getDibStride(header.width, header.bitCount);
  const uint32_t height = image.height;
  const auto dibRow = [&](uint32_t i) { return pixels + stride * i; };
  // The bottom-up forms put the image's top row last.
  const auto flipped = [&](uint32_t i) { return height - 1 - i; };

  switch (which) {
    case DibCase::RowsAsIs:
    case DibCase::Rgb32: {
      const uint64_t bytes = std::min<uint64_t>(stride, image.pitch);
      for (uint32_t i = 0; i < height; ++i)
        std::memcpy(image.row(which == DibCase::Rgb32 ? flipped(i) : i), dibRow(i), bytes);
      break;
    }
    case DibCase::Rgb24:
      for (uint32_t i = 0; i < height; ++i)
        repackToImage(image.row(flipped(i)), dibRow(i), image.width, 3);
      break;
    case DibCase::Ycc48:
      for (uint32_t i = 0; i < height; ++i) repackToImage(image.row(i), dibRow(i), image.width, 6);
      break;
    case DibCase::Wide64:
      if (stride == image.pitch) {
        if (height > 0) std::memcpy(image.data(), pixels, stride * height);
      } else {
        for (uint32_t i = 0; i < height; ++i) std::memcpy(image.row(i), dibRow(i), stride);
      }
      break;
    case DibCase::None:
      break;
  }
}

void copyToDib(const ImageBuffer& image, const BitmapInfoHeader& header, uint8_t* pixels,
               uint64_t pixelBytes) {
  const DibCase which = dibCase(header.bitCount, image.format);
  if (which == DibCase::None) return;
  checkSizes("Media::ImageBuffer::copyToDib", image, header, pixelBytes);
  const uint64_t stride = getDibStride(header.width, header.bitCount);
  const uint32_t height = image.height;
  const auto dibRow = [&](uint32_t i) { return pixels + stride * i; };
  const auto flipped = [&](uint32_t i) { return height - 1 - i; };
  // Whatever part of a DIB row the image does not fill is padding, written as zeros so no
  // stale bytes reach a file.
  const auto padRow = [&](uint32_t i, uint64_t written) {
    if (written < stride) std::memset(dibRow(i) + written, 0, stride - written);
  };

  switch (which) {
    case DibCase::RowsAsIs:
    case DibCase::Rgb32: {
      const uint64_t bytes = std::min<uint64_t>(stride, image.pitch);
      for (uint32_t i = 0; i < height; ++i) {
        std::memcpy(dibRow(i), image.row(which == DibCase::Rgb32 ? flipped(i) : i), bytes);
        padRow(i, bytes);
      }
      break;
    }
    case DibCase::Rgb24:
      for (uint32_t i = 0; i < height; ++i) {
        repackToDib(dibRow(i), image.row(flipped(i)), image.width, 3);
        padRow(i, static_cast<uint64_t>(image.width) * 3);
      }
      break;
    case DibCase::Ycc48:
      for (uint32_t i = 0; i < height; ++i) {
        repackToDib(dibRow(i), image.row(i), image.width, 6);
        padRow(i, static_cast<uint64_t>(image.width) * 6);
      }
      break;
    case DibCase::Wide64:
      if (stride == image.pitch) {
        if (height > 0) std::memcpy(pixels, image.data(), stride * height);
      } else {
        for (uint32_t i = 0; i < height; ++i) std::memcpy(dibRow(i), image.row(i), stride);
      }
      break;
    case DibCase::None:
      break;
  }
}

}  // namespace Media
