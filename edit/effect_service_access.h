#pragma once
// The edit model's access to the effect registry (effect/effect_service.h): effects found
// by name and put into an object's chain where their kind belongs. The edit service
// installs it for its lifetime when it is made after the registry, as in the program's
// start-up order.
#include <memory>
#include <string_view>

#include "edit/effect_registry_access.h"

namespace Edit {

class EffectServiceAccess : public EffectRegistryAccess {
 public:
  // An input on an empty chain brings the output that goes with it; an input or output
  // replaces the one in its place (the same kind again changes nothing and keeps its
  // values); a filter is appended; a control effect replaces a scene change with its
  // filters. The new effect takes the user's defaults, and every effect added is sized to
  // the object's points. The chain is changed only when every step succeeded.
  void setEffectByName(Object& object, std::string_view name) override;
  std::shared_ptr<Effect::EffectBase> createEffect(std::string_view name) override;
};

}  // namespace Edit
