#pragma once
// An image in main memory: decoded media, frames read back for export or display.
//
// Rows are `pitch` bytes apart; the pixel block starts on a 32-byte boundary and holds
// height x pitch used bytes. The block only grows: allocating a smaller image reuses it.
#include <cstdint>
#include <memory>

#include "system/text.h"

namespace Media {
class Bitmap;
template <class T>
class ComResource;
}  // namespace Media

namespace Media {

class ImageBuffer {
 public:
  ImageBuffer() = default;
  // An image of the format with the given pitch (0: the default pitch).
  ImageBuffer(int32_t format, uint32_t width, uint32_t height, uint32_t pitch = 0);

  // A new shared image of the format with the default pitch.
  static std::shared_ptr<ImageBuffer> makeShared(int32_t format, uint32_t width, uint32_t height);

  // Bytes per pixel in main memory: 8 for the four 16-bit channel formats (10, 11, 13), 4
  // for 28, 87 and 88, 2 for YUY2 (107); 0 for any other format.
  static uint32_t getBytesPerPixel(int32_t format);
  // Bytes per pixel x width rounded up to a multiple of 32. A format without a size throws
  // "image format not supported." with the note "dxgi format = <format>".
  static uint32_t getDefaultPitchSize(int32_t format, uint32_t width);

  // Sets the size and allocates (the format is set first). A pitch of 0 becomes the default
  // pitch. The used size becomes height x pitch. A size that cannot be had throws the
  // out-of-memory error.
  void allocate(uint32_t width, uint32_t height, uint32_t pitch);

  // Fills this YUY2 image (already allocated to width x height) from a 4-byte-per-pixel image
  // whose first three bytes are Y, Cb and Cr: each pair of pixels becomes Y of the first,
  // Cb of the first, Y of the second, Cr of the first. In an odd width the last pair's second
  // pixel repeats the Y of the first; nothing outside the source is read.
  void packYuy2(const uint8_t* source, uint32_t width, uint32_t height, uint32_t sourcePitch);

  // How the alpha of an image's pixels is to be read when it is drawn.
  enum class AlphaMode { Premultiplied, Straight };
  // A 2-D drawing bitmap of this image, which must be in format 28 (R8G8B8A8_UNORM); a
  // straight-alpha image is premultiplied on the way. Failure: "target->CreateBitmap" at
  // "Media::ImageBuffer::createRenderTargetBitmap".
  std::unique_ptr<ComResource<Bitmap>> createRenderTargetBitmap(AlphaMode alphaMode) const;

  uint8_t* data() { return pixels.data(); }
  const uint8_t* data() const { return pixels.data(); }
  uint8_t* row(uint32_t y) { return pixels.data() + static_cast<uint64_t>(y) * pitch; }
  const uint8_t* row(uint32_t y) const { return pixels.data() + static_cast<uint64_t>(y) * pitch; }
  uint64_t usedSize() const { return pixels.size(); }

  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t pitch = 0;
  int32_t format = 0;
  System::AlignedBuffer pixels;
};

}  // namespace Media
