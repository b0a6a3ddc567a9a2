#pragma once
// How the plug-ins name frame formats, turned into the program's pixel-format numbers.
// Header only with no program library behind it, so that the helper programs use the very
// same table.
//
//   bitmap header of a reader's frame        asked by a writer   pixel format
//   compression 0, 24 bits                   0                   88  B8G8R8X8 (24-bit DIB)
//   compression 0, 32 bits                                       87  B8G8R8A8
//   "YUY2"                                   "YUY2"              107 YUY2
//   "RU64"                                   "RU64"              11  R16G16B16A16_UNORM
//   "RF64"                                   "RF64"              10  R16G16B16A16_FLOAT
//   "YCC6"                                   "YCC6"              13  R16G16B16A16_SNORM
#include <cstdint>

#include "media/image/bitmap_info_header.h"

namespace Plugin {

namespace PluginFormat {
inline constexpr uint32_t kYuy2 = Media::dibFourCc('Y', 'U', 'Y', '2');
inline constexpr uint32_t kRu64 = Media::dibFourCc('R', 'U', '6', '4');
inline constexpr uint32_t kRf64 = Media::dibFourCc('R', 'F', '6', '4');
inline constexpr uint32_t kYcc6 = Media::dibFourCc('Y', 'C', 'C', '6');
}  // namespace PluginFormat

// The packed forms, which carry their own layout whatever the bit count says; 0 for others.
constexpr int32_t pixelFormatOfFourCc(uint32_t compression) {
  switch (compression) {
    case PluginFormat::kYuy2: return 107;
    case PluginFormat::kRu64: return 11;
    case PluginFormat::kRf64: return 10;
    case PluginFormat::kYcc6: return 13;
    default: return 0;
  }
}

// The pixel format of a reader's frame described by compression and bit count; 0 for a
// form the program does not take.
constexpr int32_t pixelFormatOfDib(uint32_t compression, uint32_t bitCount) {
  if (compression == Media::kBitmapCompressionRgb) {
    if (bitCount == 24) return 88;
    if (bitCount == 32) return 87;
    return 0;
  }
  return pixelFormatOfFourCc(compression);
}

// The pixel format of a frame a writer asks for: 0 means plain 24-bit rows; 0 for a code the
// program does not make.
constexpr int32_t pixelFormatOfRequest(uint32_t format) {
  return format == Media::kBitmapCompressionRgb ? 88 : pixelFormatOfFourCc(format);
}

}  // namespace Plugin
