#pragma once
// The program's pixel-format numbers.
//
// Images are named by their DXGI numbers everywhere (settings, files, plug-ins); how each
// number lives on the GPU is the device back-end's business (gl/gl_pixel_format.h).
#include <cstdint>

namespace Media {

namespace DxgiFormat {
inline constexpr int32_t UNKNOWN = 0;
inline constexpr int32_t R16G16B16A16_FLOAT = 10;
inline constexpr int32_t R16G16B16A16_UNORM = 11;
inline constexpr int32_t R16G16B16A16_SNORM = 13;
inline constexpr int32_t R8G8B8A8_UNORM = 28;
inline constexpr int32_t R32_FLOAT = 41;
inline constexpr int32_t A8_UNORM = 65;
inline constexpr int32_t G8R8_G8B8_UNORM = 69;
inline constexpr int32_t B8G8R8A8_UNORM = 87;
inline constexpr int32_t B8G8R8X8_UNORM = 88;
inline constexpr int32_t YUY2 = 107;
}  // namespace DxgiFormat

// The largest side of any GPU image.
inline constexpr uint32_t kMaxTextureSide = 16384;

// The format a texture of this number is created in: YUY2 becomes G8R8_G8B8.
inline int32_t textureFormatOf(int32_t dxgi) {
  return dxgi == DxgiFormat::YUY2 ? DxgiFormat::G8R8_G8B8_UNORM : dxgi;
}

}  // namespace Media
