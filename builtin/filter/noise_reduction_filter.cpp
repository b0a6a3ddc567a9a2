#include "builtin/filter/noise_reduction_filter.h"

#include <algorithm>
#include <cmath>

#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"

namespace Effect {

NoiseReductionShaders::NoiseReductionShaders()
    : FilterShaderSet({"noise_reduction_ps"}, {}, 0) {}

NoiseReductionFilter::NoiseReductionFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      strength(items, "強さ", 100.0, 0.0, 100.0, 0.1),
      range(items, "範囲", 2.0, 1.0, 8.0, 1.0),
      threshold(items, "しきい値", 20.0, 0.0, 200.0, 1.0) {
  label = "加工";
}

std::shared_ptr<EffectBase> NoiseReductionFilter::create() const {
  return std::make_shared<NoiseReductionFilter>();
}

}  // namespace Effect

namespace Effect {

OwnedImage NoiseReductionFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty()) return image;
  NoiseReductionConstants constants;
  constants.range = std::max(0, static_cast<int32_t>(std::lround(range.getValue(context))));
  const float window = static_cast<float>(2 * constants.range + 1);
  constants.level = static_cast<float>(strength.getValue(context)) / 100.0f / (window * window);
  constants.limit = static_cast<float>(threshold.getValue(context)) / 512.0f;
  if (!(constants.level > 0.0f) || !(constants.limit > 0.0f)) return image;

  auto output = std::make_unique<Media::ResourceBuffer>(static_cast<int32_t>(image->width()),
                                                        static_cast<int32_t>(image->height()));
  Resource::ResourceService& service = Resource::ResourceService::Get();
  CommonResource& shaders = resource();
  const auto lock = shaders.lock();
  service.drawWithSharedConstants(shaders.pixelShader(0), *output, *image, &constants,
                                  sizeof(constants), nullptr);
  return adoptBuffer(std::move(output));
}

}  // namespace Effect
