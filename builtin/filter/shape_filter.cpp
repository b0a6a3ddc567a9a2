#include "builtin/filter/shape_filter.h"

#include <cmath>

#include "builtin/filter/bokashi_filter.h"
#include "builtin/filter/default_filter.h"
#include "effect/effect_service.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/shader_binding.h"
#include "system/exception.h"

namespace Effect {

SharpenShaders::SharpenShaders()
    : FilterShaderSet({"sharpen_ps"}, {}, 0) {}

ShapeFilter::ShapeFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      strength(items, "強さ", 50.0, 0.0, 800.0, 0.1),
      range(items, "範囲", 5.0, 0.0, 100.0, 1.0) {
  label = "加工";
}

std::shared_ptr<EffectBase> ShapeFilter::create() const { return std::make_shared<ShapeFilter>(); }

}  // namespace Effect

namespace Effect {

OwnedImage ShapeFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty()) return image;
  SharpenConstants constants;
  constants.level = static_cast<float>(strength.getValue(context)) / 100.0f;
  if (!(constants.level > 0.0f)) return image;
  const int radius = static_cast<int>(std::lround(range.getValue(context)));

  OwnedImage blurred = defaultEffect<BokashiFilter>().blur(
      adoptBuffer(image->clone()), radius, 0.0f, BokashiFilter::kKeepEdge);

  auto output = std::make_unique<Media::ResourceBuffer>(static_cast<int32_t>(image->width()),
                                                        static_cast<int32_t>(image->height()));
  Resource::ResourceService& service = Resource::ResourceService::Get();
  CommonResource& shaders = resource();
  const auto lock = shaders.lock();
  Media::PixelShader& shader = shaders.pixelShader(0);
  const Resource::ResourceService::SharedConstantsScope shared(service, &constants,
                                                               sizeof(constants));
  Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Pixel, 0, &shared.buffer());
  shader.drawTwoInputs(*output, *image, *blurred, nullptr);
  return adoptBuffer(std::move(output));
}

}  // namespace Effect
