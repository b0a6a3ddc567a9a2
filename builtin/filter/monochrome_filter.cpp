#include "builtin/filter/monochrome_filter.h"

#include "gpu/resource_buffer.h"

namespace Effect {

MonochromeShaders::MonochromeShaders()
    : FilterShaderSet({"monochrome_ps"}, {},
                      sizeof(MonochromeFilter::Constants)) {}

MonochromeFilter::MonochromeFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      strength(items, "強さ", 100.0, 0.0, 100.0, 0.1),
      color(items, "色", 0xFFFFFF),
      keepLuminance(items, "輝度を保持する", true) {
  label = "色調整";
}

std::shared_ptr<EffectBase> MonochromeFilter::create() const {
  return std::make_shared<MonochromeFilter>();
}

}  // namespace Effect

namespace Effect {

OwnedImage MonochromeFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty()) return image;
  const float share = static_cast<float>(strength.getValue(context)) / 100.0f;
  if (share == 0.0f) return image;
  Constants constants;
  constants.level[0] = keepLuminance.value ? 0.0f : share;
  constants.level[1] = constants.level[2] = share;
  const float r = static_cast<float>(color.red) / 255.0f;
  const float g = static_cast<float>(color.green) / 255.0f;
  const float b = static_cast<float>(color.blue) / 255.0f;
  constants.yuv[0] = 0.299f * r + 0.587f * g + 0.114f * b;
  constants.yuv[1] = -0.169f * r - 0.331f * g + 0.5f * b;
  constants.yuv[2] = 0.5f * r - 0.419f * g - 0.081f * b;

  auto output = std::make_unique<Media::ResourceBuffer>(static_cast<int32_t>(image->width()),
                                                        static_cast<int32_t>(image->height()));
  CommonResource& shaders = resource();
  const auto lock = shaders.lock();
  shaders.pixelShader(kMonochromeShader)
      .drawInputWithConstants(*output, *image, shaders.writeConstants(&constants), nullptr);
  return adoptBuffer(std::move(output));
}

}  // namespace Effect
