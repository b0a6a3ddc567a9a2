#include "builtin/filter/deinterlace_filter.h"

#include "builtin/choice_lists.h"

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

}  // namespace Effect
