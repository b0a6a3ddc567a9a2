#include "gpu/image/png_file.h"

#include <cairo.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <exception>
#include <fstream>

#include "gpu/image/image_buffer.h"
#include "gpu/pixel_format.h"
#include "system/log.h"

namespace Media {
namespace {

constexpr const char* kPlace = "Media::readPngFile";
constexpr uint32_t kMaxSide = 16384;

uint32_t bigEndian32(const unsigned char* bytes) {
  return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) |
         uint32_t{bytes[3]};
}

// Whether the file starts as a PNG whose picture a GPU image can hold.
bool headerFits(const std::string& path) {
  static constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  std::array<unsigned char, 24> header{};
  std::ifstream file(path, std::ios::binary);
  if (!file.read(reinterpret_cast<char*>(header.data()), header.size())) return false;
  if (std::memcmp(header.data(), kSignature, sizeof(kSignature)) != 0) return false;
  if (std::memcmp(header.data() + 12, "IHDR", 4) != 0) return false;
  const uint32_t width = bigEndian32(header.data() + 16);
  const uint32_t height = bigEndian32(header.data() + 20);
  return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide;
}

struct SurfaceDeleter {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};

}  // namespace

std::shared_ptr<ImageBuffer> readPngFile(const std::string& path) {
  if (!headerFits(path)) {
    System::Log::warn(kPlace, "not a readable PNG file.\n%s", path.c_str());
    return nullptr;
  }
  std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface(
      cairo_image_surface_create_from_png(path.c_str()));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
    System::Log::warn(kPlace, "PNG file not decoded (%s).\n%s",
                      cairo_status_to_string(cairo_surface_status(surface.get())), path.c_str());
    return nullptr;
  }
  cairo_surface_flush(surface.get());
  const int width = cairo_image_surface_get_width(surface.get());
  const int height = cairo_image_surface_get_height(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  const cairo_format_t format = cairo_image_surface_get_format(surface.get());
  const unsigned char* pixels = cairo_image_surface_get_data(surface.get());
  if (!pixels || width <= 0 || height <= 0) return nullptr;

  std::shared_ptr<ImageBuffer> image;
  try {
    image = ImageBuffer::makeShared(DxgiFormat::B8G8R8A8_UNORM, static_cast<uint32_t>(width),
                                    static_cast<uint32_t>(height));
  } catch (const std::exception& exception) {
    System::Log::warn(kPlace, "PNG file too large.\n%s\n%s", path.c_str(), exception.what());
    return nullptr;
  }
  // Cairo keeps premultiplied native-endian ARGB (BGRA bytes here); the image keeps
  // straight alpha.
  for (int y = 0; y < height; ++y) {
    const auto* in = reinterpret_cast<const uint32_t*>(pixels + static_cast<std::size_t>(y) * stride);
    uint8_t* out = image->row(static_cast<uint32_t>(y));
    for (int x = 0; x < width; ++x) {
      const uint32_t argb = in[x];
      uint32_t a = format == CAIRO_FORMAT_RGB24 ? 255u : argb >> 24;
      uint32_t r = (argb >> 16) & 0xff, g = (argb >> 8) & 0xff, b = argb & 0xff;
      if (a != 0 && a != 255) {
        r = (r * 255 + a / 2) / a;
        g = (g * 255 + a / 2) / a;
        b = (b * 255 + a / 2) / a;
      }
      out[x * 4 + 0] = static_cast<uint8_t>(b);
      out[x * 4 + 1] = static_cast<uint8_t>(g);
      out[x * 4 + 2] = static_cast<uint8_t>(r);
      out[x * 4 + 3] = static_cast<uint8_t>(a);
    }
  }
  return image;
}

}  // namespace Media
