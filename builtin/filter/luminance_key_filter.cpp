#include "builtin/filter/luminance_key_filter.h"

#include "builtin/choice_lists.h"

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
