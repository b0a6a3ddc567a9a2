#pragma once
// Frames between the program's images and device-independent bitmaps.
//
// Outside, a frame is DIB pixels: rows padded to 4 bytes, bottom-up for plain RGB, top-down
// for the packed forms. Inside, it is an ImageBuffer: top-down rows at the image's pitch.
// Six formats cross the boundary:
//
//   image format               DIB compression  bits  DIB pixel                 row order
//   B8G8R8A8_UNORM (87)        RGB              32    B, G, R, A                bottom-up
//   B8G8R8X8_UNORM (88)        RGB              24    B, G, R (image adds 0)    bottom-up
//   YUY2 (107)                 "YUY2"           16    the same bytes            top-down
//   R16G16B16A16_UNORM (11)    "RU64"           64    the same bytes            top-down
//   R16G16B16A16_FLOAT (10)    "RF64"           64    the same bytes            top-down
//   R16G16B16A16_SNORM (13)    "YCC6"           48    Y, Cb, Cr int16 (image adds 0)  top-down
#include <cstdint>

#include "gpu/image/image_buffer.h"
#include "media/image/bitmap_info_header.h"

namespace Media {

// Bytes of one DIB row: width x bits rounded up to a multiple of 4 bytes; 0 for a negative
// width.
uint64_t getDibStride(int32_t width, uint32_t bitCount);

// Describes an image of the format as a DIB: size 40, the width and height, one plane, the
// format's bits and compression, and the image size stride x height. The other fields are
// left as they are. A format outside the six throws "image format not supported."; a
// negative size or one whose image size does not fit 32 bits throws "invalid image size.".
void getBitmapInfoHeader(BitmapInfoHeader& header, int32_t format, int32_t width, int32_t height);

// Fills `image` (already allocated in its size and format) from DIB pixels described by
// `header`; `pixelBytes` is how many bytes `pixels` holds. The case is chosen by the
// header's bit count with the image's format; a pairing that is not in the table zeroes
// the image. For a pairing in the table, a header whose size differs from the image's, or
// pixels shorter than stride x height, throw "invalid image size." and nothing is read.
void copyFromDib(ImageBuffer& image, const BitmapInfoHeader& header, const uint8_t* pixels,
                 uint64_t pixelBytes);

// Writes `image` into DIB pixels described by `header` (`pixelBytes` bytes, normally the
// header's image size). A pairing that is not in the table writes nothing; the size checks
// are those of copyFromDib. Bytes of a DIB row that the image does not provide (the
// padding to 4 bytes) are written as zeros.
void copyToDib(const ImageBuffer& image, const BitmapInfoHeader& header, uint8_t* pixels,
               uint64_t pixelBytes);

}  // namespace Media
