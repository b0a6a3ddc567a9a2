#pragma once
// The edit model's access to the effect registry (effect/effect_service.h): effects found
// by name and put into an object's chain where their kind belongs (the chain operations of
// Edit::EffectManager). The edit service installs it for its lifetime when it is made after
// the registry, as in the program's start-up order.
#include <memory>
#include <string_view>

#include "edit/effect_registry_access.h"

namespace Edit {

class EffectServiceAccess : public EffectRegistryAccess {
 public:
  // Edit::EffectManager::setEffectByName on the object, placed at the end.
  void setEffectByName(Object& object, std::string_view name) override;
  std::shared_ptr<Effect::EffectBase> createEffect(std::string_view name) override;
};

}  // namespace Edit
