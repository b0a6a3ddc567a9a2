#include "builtin/input/before_object_load.h"

namespace Effect {

BeforeObjectLoad::BeforeObjectLoad()
    : EffectBase(kName, EffectType::Input, MediaType::Video, TargetType::Video) {}

std::shared_ptr<EffectBase> BeforeObjectLoad::create() const {
  return std::make_shared<BeforeObjectLoad>();
}

}  // namespace Effect
