#include "builtin/filter/diffusion_filter.h"

namespace Effect {

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

}  // namespace Effect
