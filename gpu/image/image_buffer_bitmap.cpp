// Images in memory turned into bitmaps that 2-D drawing can paint.
#include <cstring>
#include <vector>

#include "gpu/com_resource.h"
#include "gpu/draw2d/draw_resource.h"
#include "gpu/hresult.h"
#include "gpu/image/image_buffer.h"
#include "system/exception.h"

namespace Media {
namespace {

constexpr int32_t kFormatR8G8B8A8 = 28;

// R, G, B, A bytes to the drawing layer's premultiplied B, G, R, A.
void convertRow(const uint8_t* source, uint8_t* target, uint32_t width, bool premultiply) {
  for (uint32_t x = 0; x < width; ++x, source += 4, target += 4) {
    const uint32_t alpha = source[3];
    const auto scale = [&](uint8_t value) {
      return premultiply ? static_cast<uint8_t>((value * alpha + 127) / 255) : value;
    };
    target[0] = scale(source[2]);
    target[1] = scale(source[1]);
    target[2] = scale(source[0]);
    target[3] = static_cast<uint8_t>(alpha);
  }
}

}  // namespace

std::unique_ptr<ComResource<Bitmap>> ImageBuffer::createRenderTargetBitmap(
    AlphaMode alphaMode) const {
  constexpr const char* kPlace = "Media::ImageBuffer::createRenderTargetBitmap";
  if (format != kFormatR8G8B8A8 || width == 0 || height == 0 || pitch < width * 4 ||
      usedSize() < static_cast<uint64_t>(height) * pitch)
    throw System::makeHresultException("target->CreateBitmap", kPlace, Hresult::kInvalidArgument);

  const uint32_t targetPitch = width * 4;
  std::vector<uint8_t> converted(static_cast<std::size_t>(targetPitch) * height);
  for (uint32_t y = 0; y < height; ++y)
    convertRow(row(y), converted.data() + static_cast<std::size_t>(y) * targetPitch, width,
               alphaMode == AlphaMode::Straight);

  auto resource = std::make_unique<ComResource<Bitmap>>();
  resource->adopt(std::make_unique<Bitmap>(width, height, converted.data(), targetPitch));
  return resource;
}

}  // namespace Media
