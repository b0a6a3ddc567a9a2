#include "edit/effect_service_access.h"

#include "edit/object.h"
#include "effect/effect_service.h"
#include "system/exception.h"

namespace Edit {

void EffectServiceAccess::setEffectByName(Object& object, std::string_view name) {
  object.setEffectByName(name, nullptr);
}

std::shared_ptr<Effect::EffectBase> EffectServiceAccess::createEffect(std::string_view name) {
  Effect::EffectService* registry = Effect::EffectService::instance();
  if (!registry)
    throw System::makeException("Effect::EffectService::findEffect", "not found effect.");
  return registry->findEffect(name)->createEffect();
}

}  // namespace Edit
