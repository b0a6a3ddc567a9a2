#include "builtin/filter/monochrome_filter.h"

namespace Effect {

MonochromeFilter::MonochromeFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      strength(items, "強さ", 100.0, 0.0, 100.0, 0.1),
      color(items, "色", 0xFFFFFF),
      keepLuminance(items, "輝度を保持する", true) {
  label = "色調整";
}

std::shared_ptr<EffectBase> MonochromeFilter::create() const {
  return std::make_shared<MonochromeFilter>();
}

void MonochromeFilter::createResource() {
  resource_ = CommonResource::make({"monochrome_ps"}, sizeof(Constants));
}

void MonochromeFilter::shareResource(const EffectBase& prototype) {
  resource_ = sharedShaders<MonochromeFilter>(prototype, resource_);
}

}  // namespace Effect
