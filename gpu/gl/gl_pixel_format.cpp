#include "gpu/gl/gl_pixel_format.h"

namespace Media {
namespace {

constexpr std::array<GLint, 4> kIdentity{GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA};
constexpr std::array<GLint, 4> kRedAsAlpha{GL_ZERO, GL_ZERO, GL_ZERO, GL_RED};
constexpr std::array<GLint, 4> kOpaque{GL_RED, GL_GREEN, GL_BLUE, GL_ONE};
constexpr std::array<GLint, 4> kRedOnly{GL_RED, GL_ZERO, GL_ZERO, GL_ONE};

constexpr PixelFormatInfo kFormats[] = {
    {DxgiFormat::R16G16B16A16_FLOAT, "DXGI_FORMAT_R16G16B16A16_FLOAT", GL_RGBA16F, GL_RGBA,
     GL_HALF_FLOAT, 8, 1, kIdentity, false},
    {DxgiFormat::R16G16B16A16_UNORM, "DXGI_FORMAT_R16G16B16A16_UNORM", GL_RGBA16, GL_RGBA,
     GL_UNSIGNED_SHORT, 8, 1, kIdentity, false},
    {DxgiFormat::R16G16B16A16_SNORM, "DXGI_FORMAT_R16G16B16A16_SNORM", GL_RGBA16_SNORM, GL_RGBA,
     GL_SHORT, 8, 1, kIdentity, false},
    {DxgiFormat::R8G8B8A8_UNORM, "DXGI_FORMAT_R8G8B8A8_UNORM", GL_RGBA8, GL_RGBA,
     GL_UNSIGNED_BYTE, 4, 1, kIdentity, false},
    {DxgiFormat::R32_FLOAT, "DXGI_FORMAT_R32_FLOAT", GL_R32F, GL_RED, GL_FLOAT, 4, 1, kRedOnly,
     false},
    {DxgiFormat::A8_UNORM, "DXGI_FORMAT_A8_UNORM", GL_R8, GL_RED, GL_UNSIGNED_BYTE, 1, 1,
     kRedAsAlpha, true},
    {DxgiFormat::G8R8_G8B8_UNORM, "DXGI_FORMAT_G8R8_G8B8_UNORM", GL_RGBA8, GL_RGBA,
     GL_UNSIGNED_BYTE, 4, 2, kIdentity, false},
    {DxgiFormat::B8G8R8A8_UNORM, "DXGI_FORMAT_B8G8R8A8_UNORM", GL_RGBA8, GL_BGRA,
     GL_UNSIGNED_BYTE, 4, 1, kIdentity, false},
    {DxgiFormat::B8G8R8X8_UNORM, "DXGI_FORMAT_B8G8R8X8_UNORM", GL_RGBA8, GL_BGRA,
     GL_UNSIGNED_BYTE, 4, 1, kOpaque, false},
};

}  // namespace

const PixelFormatInfo* findPixelFormat(int32_t dxgi) {
  for (const auto& info : kFormats)
    if (info.dxgi == dxgi) return &info;
  return nullptr;
}

}  // namespace Media
