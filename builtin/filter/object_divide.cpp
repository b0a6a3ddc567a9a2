#include "builtin/filter/object_divide.h"

namespace Effect {

ObjectDivide::ObjectDivide()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      columns(items, "横分割数", 10.0, 1.0, 100.0, 1.0),
      rows(items, "縦分割数", 10.0, 1.0, 100.0, 1.0) {
  label = "配置";
}

std::shared_ptr<EffectBase> ObjectDivide::create() const {
  return std::make_shared<ObjectDivide>();
}

}  // namespace Effect
