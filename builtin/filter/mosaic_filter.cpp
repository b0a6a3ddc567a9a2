#include "builtin/filter/mosaic_filter.h"

namespace Effect {

MosaicShaders::MosaicShaders()
    : FilterShaderSet({"mosaic_ps"}, {}, 0) {}

MosaicFilter::MosaicFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      size(items, "サイズ", 12.0, 1.0, 2000.0, 1.0) {
  label = "加工";
}

std::shared_ptr<EffectBase> MosaicFilter::create() const {
  return std::make_shared<MosaicFilter>();
}

}  // namespace Effect
