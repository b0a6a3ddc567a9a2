#include "builtin/filter/resize_filter.h"

#include <algorithm>
#include <cmath>

#include "builtin/filter/sampler_binding.h"
#include "gpu/pixel_format.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"

namespace Effect {

ResizeFilter::ResizeFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      zoom(items, "拡大率", 100.0, 0.0, 10000.0, 0.001),
      x(items, "X", 100.0, 0.0, 10000.0, 0.001),
      y(items, "Y", 100.0, 0.0, 10000.0, 0.001),
      nearest(items, "補間なし", false),
      pixelSize(items, "ピクセル数でサイズ指定", false) {
  label = "変形";
}

std::shared_ptr<EffectBase> ResizeFilter::create() const {
  return std::make_shared<ResizeFilter>();
}

namespace {

// A new side: the nearest integer to side x scale, kept within what a texture holds; 0 when
// nothing of it would be left.
int scaledSide(uint32_t side, double scale) {
  const double scaled = std::round(static_cast<double>(side) * scale);
  if (!(scaled >= 1.0)) return 0;
  return static_cast<int>(std::min(scaled, static_cast<double>(Media::kMaxTextureSide)));
}

}  // namespace

OwnedImage ResizeFilter::filterVideo(EffectContext& context, OwnedImage image) {
  // An empty picture has no size to scale (and a size in pixels would divide by it).
  if (!image || image->empty() || image->width() == 0 || image->height() == 0) return image;
  const double width = image->width();
  const double height = image->height();
  const double z = zoom.getValue(context) / 100.0;
  double rx = x.getValue(context) / 100.0;
  double ry = y.getValue(context) / 100.0;
  if (pixelSize.value) {
    rx = static_cast<double>(std::lround(x.getValue(context))) / width;
    ry = static_cast<double>(std::lround(y.getValue(context))) / height;
  }
  const double sx = z * rx;
  const double sy = z * ry;
  if (sx == 1.0 && sy == 1.0) return image;
  if (!(sx > 0.0) || !(sy > 0.0)) return {};
  const int newWidth = scaledSide(image->width(), sx);
  const int newHeight = scaledSide(image->height(), sy);
  if (newWidth < 1 || newHeight < 1) return {};

  auto output = std::make_unique<Media::ResourceBuffer>(newWidth, newHeight);
  Resource::ResourceService& service = Resource::ResourceService::Get();
  Resource::PixelShaderList& shaders = service.pixelShaders();
  if (nearest.value) {
    const SamplerBinding sampler(SamplerEntry::PointClamp);
    shaders.entry(Resource::PixelShaderList::kSampledCopy).drawInput(*output, *image, nullptr);
  } else {
    // Each new pixel centre maps to centre x inverseRatio in the input; shrinking averages
    // the pixel's footprint there.
    const float inverseRatio[2] = {static_cast<float>(1.0 / sx), static_cast<float>(1.0 / sy)};
    const SamplerBinding sampler(SamplerEntry::LinearClamp);
    service.drawWithSharedConstants(shaders.entry(Resource::PixelShaderList::kResample), *output,
                                    *image, inverseRatio, sizeof(inverseRatio), nullptr);
  }
  return adoptBuffer(std::move(output));
}

}  // namespace Effect
