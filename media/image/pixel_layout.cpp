#include "media/image/pixel_layout.h"

namespace Media {
namespace {

constexpr PixelLayout kLayouts[] = {
    {ImageFormat::kPixel24bppBgr, 3, 2, 1, 0, -1, false},
    {ImageFormat::kPixel24bppRgb, 3, 0, 1, 2, -1, false},
    {ImageFormat::kPixel32bppBgr, 4, 2, 1, 0, -1, false},
    {ImageFormat::kPixel32bppBgra, 4, 2, 1, 0, 3, false},
    {ImageFormat::kPixel32bppPbgra, 4, 2, 1, 0, 3, true},
    {ImageFormat::kPixel32bppRgba, 4, 0, 1, 2, 3, false},
};

uint8_t unpremultiply(uint8_t value, uint8_t alpha) {
  if (alpha == 0) return 0;
  const uint32_t straight = (uint32_t{value} * 255 + alpha / 2) / alpha;
  return static_cast<uint8_t>(straight > 255 ? 255 : straight);
}

}  // namespace

const PixelLayout* findPixelLayout(const FormatGuid& guid) {
  for (const auto& layout : kLayouts)
    if (layout.guid == guid) return &layout;
  return nullptr;
}

void convertPixelRow(const PixelLayout& from, const uint8_t* source, const PixelLayout& to,
                     uint8_t* target, uint32_t width) {
  const bool straighten = from.premultiplied && to.hasAlpha() && !to.premultiplied;
  for (uint32_t x = 0; x < width; ++x, source += from.bytesPerPixel, target += to.bytesPerPixel) {
    const uint8_t alpha = from.hasAlpha() ? source[from.alpha] : uint8_t{255};
    uint8_t red = source[from.red], green = source[from.green], blue = source[from.blue];
    if (straighten) {
      red = unpremultiply(red, alpha);
      green = unpremultiply(green, alpha);
      blue = unpremultiply(blue, alpha);
    }
    target[to.red] = red;
    target[to.green] = green;
    target[to.blue] = blue;
    if (to.hasAlpha()) target[to.alpha] = alpha;
  }
}

}  // namespace Media
