#include "builtin/filter/monochrome_filter.h"

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
