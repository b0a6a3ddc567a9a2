#include "builtin/filter/luminance_key_filter.h"

#include "builtin/choice_lists.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"

namespace Effect {

LuminanceKeyShaders::LuminanceKeyShaders() : FilterShaderSet({"luminance_key_filter_ps"}, {}, 0) {}

LuminanceKeyFilter::LuminanceKeyFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      baseLuminance(items, "基準輝度", 2048.0, -4096.0, 8192.0, 1.0),
      luminanceRange(items, "輝度範囲", 512.0, 0.0, 4096.0, 1.0),
      mode(items, "モード", 0, LuminanceKeyModeList()) {
  label = "抽出";
}

std::shared_ptr<EffectBase> LuminanceKeyFilter::create() const {
  return std::make_shared<LuminanceKeyFilter>();
}

}  // namespace Effect

namespace Effect {

OwnedImage LuminanceKeyFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty()) return image;
  Constants constants;
  constants.type = mode.value;
  constants.offset = static_cast<float>(baseLuminance.getValue(context)) / 4096.0f;
  constants.range = static_cast<float>(luminanceRange.getValue(context)) / 4096.0f;

  auto output = std::make_unique<Media::ResourceBuffer>(static_cast<int32_t>(image->width()),
                                                        static_cast<int32_t>(image->height()));
  Resource::ResourceService& service = Resource::ResourceService::Get();
  CommonResource& shaders = resource();
  const auto lock = shaders.lock();
  service.drawWithSharedConstants(shaders.pixelShader(kKeyShader), *output, *image, &constants,
                                  sizeof(constants), nullptr);
  return adoptBuffer(std::move(output));
}

}  // namespace Effect
