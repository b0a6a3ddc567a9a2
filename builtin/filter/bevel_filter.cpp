#include "builtin/filter/bevel_filter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "gpu/resource_buffer.h"

namespace Effect {

BevelShaders::BevelShaders()
    : FilterShaderSet({"bevel_ps"}, {}, sizeof(BevelConstants)) {}

BevelFilter::BevelFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      width(items, "幅", 4.0, 0.0, 100.0, 1.0),
      height(items, "高さ", 1.0, 0.0, 3.0, 0.01),
      angle(items, "角度", 45.0, -3600.0, 3600.0, 0.01) {
  label = "装飾";
}

std::shared_ptr<EffectBase> BevelFilter::create() const { return std::make_shared<BevelFilter>(); }

OwnedImage BevelFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty()) return image;
  const auto imageWidth = static_cast<int32_t>(image->width());
  const auto imageHeight = static_cast<int32_t>(image->height());
  // The steps never reach past the middle of the picture: beyond it the sums only repeat
  // the other side's edge.
  const auto steps = std::min({static_cast<int32_t>(std::lround(width.getValue(context))),
                               imageWidth / 2, imageHeight / 2});
  if (steps <= 0) return image;

  const float turn =
      -static_cast<float>(angle.getValue(context)) * std::numbers::pi_v<float> / 180.0f;
  BevelConstants constants;
  constants.step[0] = std::sin(turn);
  constants.step[1] = std::cos(turn);
  constants.depth = static_cast<float>(height.getValue(context)) * 0.5f / static_cast<float>(steps);
  constants.sampleNum = steps;

  auto output = std::make_unique<Media::ResourceBuffer>(imageWidth, imageHeight);
  CommonResource& shaders = resource();
  const auto lock = shaders.lock();
  shaders.pixelShader(0).drawInputWithConstants(*output, *image, shaders.writeConstants(&constants),
                                                nullptr);
  return adoptBuffer(std::move(output));
}

}  // namespace Effect
