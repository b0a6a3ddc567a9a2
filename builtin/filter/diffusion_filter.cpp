#include "builtin/filter/diffusion_filter.h"

#include <cmath>

#include "builtin/filter/bokashi_filter.h"
#include "builtin/filter/default_filter.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/shader_binding.h"

namespace Effect {
namespace {

constexpr std::size_t kBlendOver = 0;  // premultiplied "over"

}  // namespace

DiffusionShaders::DiffusionShaders()
    : FilterShaderSet({"diffusion_ps"}, {}, sizeof(DiffusionConstants)) {}

DiffusionFilter::DiffusionFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      strength(items, "強さ", 50.0, 0.0, 100.0, 0.1),
      spread(items, "拡散", 12.0, 0.0, 500.0, 1.0),
      fixedSize(items, "サイズ固定", false) {
  label = "光効果";
}

std::shared_ptr<EffectBase> DiffusionFilter::create() const {
  return std::make_shared<DiffusionFilter>();
}

OwnedImage DiffusionFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty()) return image;
  const auto radius = static_cast<int>(std::lround(spread.getValue(context)));
  const int mode = fixedSize.value ? BokashiFilter::kKeepTransparent : BokashiFilter::kGrow;
  OwnedImage blurred =
      defaultEffect<BokashiFilter>().blur(adoptBuffer(image->clone()), radius, 0.0f, mode);

  // The picture, unchanged, in the middle of an image of the blur's size.
  const auto width = static_cast<int32_t>(image->width());
  const auto height = static_cast<int32_t>(image->height());
  const auto canvasWidth = static_cast<int32_t>(blurred->width());
  const auto canvasHeight = static_cast<int32_t>(blurred->height());
  auto canvas = image->crop(canvasWidth, canvasHeight, (canvasWidth - width) / 2,
                            (canvasHeight - height) / 2);

  // Over it the light: the brighter of the blur and the picture under it, at the level.
  const DiffusionConstants constants{{(width - canvasWidth) / 2, (height - canvasHeight) / 2},
                                     static_cast<float>(strength.getValue(context) * 0.01),
                                     0.0f};
  Shader::BlendStateList& blends = Resource::ResourceService::Get().blendStates();
  CommonResource& shaders = resource();
  const auto lock = shaders.lock();
  Media::PixelShader& shader = shaders.pixelShader(0);
  Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Pixel, 0,
                                           &shaders.writeConstants(&constants));
  shader.drawTwoInputs(*canvas, *blurred, *image, blends.get(kBlendOver));
  return adoptBuffer(std::move(canvas));
}

}  // namespace Effect
