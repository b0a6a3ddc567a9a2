#pragma once
// Copies one frame laid out as a device-independent bitmap into an image: rows 4-byte
// aligned, RGB rows bottom-up (top-down when the header's height is negative), YUY2 and the
// 64-bit formats top-down. These are the layouts of an AVI file's uncompressed frames and of
// the video decompressor's output.
#include <cstdint>

#include "gpu/image/image_buffer.h"
#include "media/input/read_buffers.h"

namespace Plugin::AviFrameCopy {

// Bytes one row of the bitmap takes.
uint64_t rowBytes(const Media::BitmapInfoHeader& header);
// Bytes the whole bitmap takes: rowBytes x the number of rows.
uint64_t frameBytes(const Media::BitmapInfoHeader& header);

// Fills `image` (already sized to the header's width and row count, in the matching format:
// 32 bits with 87, 24 with 88, 16 with 107, 64 with 10 or 11) from `pixels`, which hold at
// least frameBytes(header) bytes. Any other pairing zeroes the image.
void copyFromDib(const Media::BitmapInfoHeader& header, const uint8_t* pixels,
                 Media::ImageBuffer& image);

}  // namespace Plugin::AviFrameCopy
