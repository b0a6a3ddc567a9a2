#pragma once
// How each of the program's pixel formats lives in a GL texture.
//
// Each DXGI number (pixel_format.h) maps to a GL internal format; where the memory layout
// is not the one GL would sample directly the texture reads through a swizzle:
//   - A8 is a one-channel red texture that reads as alpha (0, 0, 0, r);
//   - B8G8R8A8 and B8G8R8X8 are RGBA8 textures filled from and read back to BGRA bytes;
//     B8G8R8X8 reads alpha as one whatever the fourth byte holds;
//   - G8R8_G8B8 (and YUY2, which is uploaded as it) is a half-width RGBA8 texture: one
//     texel holds a pair of pixels as (Y0, U, Y1, V), unpacked by the shader that reads it.
#include <epoxy/gl.h>

#include <array>
#include <cstdint>

#include "gpu/pixel_format.h"

namespace Media {

struct PixelFormatInfo {
  int32_t dxgi;
  const char* name;          // "DXGI_FORMAT_..." as the log shows it
  GLenum internalFormat;     // storage of the texture
  GLenum transferFormat;     // layout of the bytes in main memory, for upload and read-back
  GLenum transferType;
  uint32_t texelBytes;       // bytes of one texel in main memory
  uint32_t pixelsPerTexel;   // 2 for the packed pairs of G8R8_G8B8, else 1
  std::array<GLint, 4> swizzle;
  bool alphaOnly;            // the single channel is alpha (drawn into as red)
};

// The entry of a number that can be a texture, or null.
const PixelFormatInfo* findPixelFormat(int32_t dxgi);

// Texels across a row of `width` pixels.
inline uint32_t texelWidth(const PixelFormatInfo& info, uint32_t width) {
  return (width + info.pixelsPerTexel - 1) / info.pixelsPerTexel;
}

}  // namespace Media
