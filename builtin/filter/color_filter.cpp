#include "builtin/filter/color_filter.h"

#include <cstdint>
#include <numbers>

#include "gpu/resource_buffer.h"

namespace Effect {

ColorShaders::ColorShaders()
    : FilterShaderSet({"color_correct_ps"}, {},
                      sizeof(ColorFilter::Constants)) {}

ColorFilter::ColorFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      brightness(items, "明るさ", 100.0, 0.0, 200.0, 0.01),
      contrast(items, "コントラスト", 100.0, 0.0, 200.0, 0.01),
      hue(items, "色相", 0.0, -3600.0, 3600.0, 0.01),
      luminance(items, "輝度", 100.0, 0.0, 200.0, 0.01),
      saturation(items, "彩度", 100.0, 0.0, 200.0, 0.01),
      saturate(items, "飽和する", true) {
  label = "色調整";
}

std::shared_ptr<EffectBase> ColorFilter::create() const { return std::make_shared<ColorFilter>(); }

}  // namespace Effect

namespace Effect {

ColorFilter::Constants ColorFilter::constantsAt(const EffectContext& context) const {
  Constants constants;
  const double gain = contrast.getValue(context) * 0.01;
  constants.contrast = static_cast<float>(gain);
  // Brightness moves the colour before the contrast stretches it round mid grey:
  // (c + brightness - 1 - 0.5) x contrast + 0.5, with the colour's part added by the shader.
  constants.brightness = static_cast<float>((brightness.getValue(context) * 0.01 - 1.5) * gain + 0.5);
  constants.hue = static_cast<float>(hue.getValue(context) * std::numbers::pi / 180.0);
  constants.luminance = static_cast<float>(luminance.getValue(context) * 0.01);
  constants.chroma = static_cast<float>(saturation.getValue(context) * 0.01);
  constants.processSaturate = saturate.value ? 1 : 0;
  // The colour-space step only when it changes something.
  constants.processYUV =
      constants.hue != 0.0f || constants.luminance != 1.0f || constants.chroma != 1.0f ? 1 : 0;
  return constants;
}

OwnedImage ColorFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty()) return image;
  const Constants constants = constantsAt(context);
  CommonResource& shaders = resource();
  const auto lock = shaders.lock();
  auto corrected = std::make_unique<Media::ResourceBuffer>(static_cast<int32_t>(image->width()),
                                                           static_cast<int32_t>(image->height()));
  shaders.pixelShader(kCorrectShader)
      .drawInputWithConstants(*corrected, *image, shaders.writeConstants(&constants), nullptr);
  return adoptBuffer(std::move(corrected));
}

}  // namespace Effect
