#include "builtin/filter/ripple_filter.h"

#include "builtin/item_links.h"
#include "edit/scene.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/shader_binding.h"

namespace Effect {

RippleShaders::RippleShaders()
    : FilterShaderSet({"ripple_ps"}, {}, sizeof(RippleConstants)) {}

RippleFilter::RippleFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      centerX(items, "中心X", 0.0, -5000.0, 5000.0, 0.1),
      centerY(items, "中心Y", 0.0, -5000.0, 5000.0, 0.1),
      width(items, "幅", 30.0, 1.0, 400.0, 0.1),
      height(items, "高さ", 15.0, -400.0, 400.0, 0.1),
      speed(items, "速度", 150.0, -2000.0, 2000.0, 0.1),
      count(items, "波紋数", 0, 0, 100),
      interval(items, "波紋間隔", 0, 0, 100),
      amplification(items, "増幅減衰回数", 0, -100, 100) {
  linkItems(positionItems, {&centerX, &centerY});
  label = "変形";
}

std::shared_ptr<EffectBase> RippleFilter::create() const {
  return std::make_shared<RippleFilter>();
}

}  // namespace Effect

namespace Effect {
namespace {

// Linear filtering with a transparent border: a pixel pulled from beyond the picture is clear.
constexpr std::size_t kLinearBorderSampler = 0;

}  // namespace

RippleConstants RippleFilter::constantsAt(const EffectContext& context, int pictureWidth,
                                          int pictureHeight, double seconds) const {
  RippleConstants constants;
  constants.center[0] = static_cast<float>(pictureWidth / 2.0 + centerX.getValue(context));
  constants.center[1] = static_cast<float>(pictureHeight / 2.0 + centerY.getValue(context));
  constants.multiply[0] = static_cast<float>(0.5 / width.getValue(context));
  constants.multiply[1] = static_cast<float>(height.getValue(context) / 2.0);
  constants.offset = static_cast<float>(seconds * speed.getValue(context));
  constants.interval = interval.value + 1;
  constants.rippleNum = constants.interval * count.value;
  constants.amplifier = constants.interval * amplification.value;
  return constants;
}

OwnedImage RippleFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty()) return image;
  double seconds = 0.0;
  if (context.scene && context.scene->rate > 0 && context.scene->scale > 0)
    seconds = static_cast<double>(context.frame - context.objectFrames.start) *
              context.scene->scale / context.scene->rate;
  const auto pictureWidth = static_cast<int32_t>(image->width());
  const auto pictureHeight = static_cast<int32_t>(image->height());
  const RippleConstants constants = constantsAt(context, pictureWidth, pictureHeight, seconds);

  auto output = std::make_unique<Media::ResourceBuffer>(pictureWidth, pictureHeight);
  Shader::SamplerStateList& samplers = Resource::ResourceService::Get().samplerStates();
  CommonResource& shaders = resource();
  const auto lock = shaders.lock();
  Media::PixelShader& shader = shaders.pixelShader(0);
  Media::ShaderBindings::setSampler(0, samplers.get(kLinearBorderSampler));
  shader.drawInputWithConstants(*output, *image, shaders.writeConstants(&constants), nullptr);
  Media::ShaderBindings::setSampler(0, nullptr);
  return adoptBuffer(std::move(output));
}

}  // namespace Effect
