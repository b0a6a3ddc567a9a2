#include "builtin/filter/deinterlace_filter.h"

#include "builtin/choice_lists.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"

namespace Effect {

DeinterlaceShaders::DeinterlaceShaders()
    : FilterShaderSet({"deinterlace_ps"}, {}, 0) {}

DeinterlaceFilter::DeinterlaceFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      method(items, "解除方法", 0, DeinterlaceModeList()) {
  label = "加工";
}

std::shared_ptr<EffectBase> DeinterlaceFilter::create() const {
  return std::make_shared<DeinterlaceFilter>();
}

OwnedImage DeinterlaceFilter::filterVideo(EffectContext&, OwnedImage image) {
  if (!image || image->empty()) return image;
  auto output = std::make_unique<Media::ResourceBuffer>(static_cast<int32_t>(image->width()),
                                                        static_cast<int32_t>(image->height()));
  // The shader's one constant lives in the drawing resources' shared buffer.
  const DeinterlaceConstants constants{method.value, {0, 0, 0}};
  CommonResource& shaders = resource();
  const auto lock = shaders.lock();
  Resource::ResourceService::Get().drawWithSharedConstants(
      shaders.pixelShader(0), *output, *image, &constants, sizeof(constants), nullptr);
  return adoptBuffer(std::move(output));
}

}  // namespace Effect
