#include "edit/effect_registry_access.h"

#include <atomic>

#include "system/exception.h"

namespace Edit {

namespace {

std::atomic<EffectRegistryAccess*> installedAccess{nullptr};

EffectRegistryAccess& requireAccess() {
  EffectRegistryAccess* access = installedAccess.load();
  if (!access)
    throw System::makeException("Effect::EffectService::findEffect", "not found effect.");
  return *access;
}

}  // namespace

void setEffectRegistryAccess(EffectRegistryAccess* access) { installedAccess.store(access); }

EffectRegistryAccess* effectRegistryAccess() { return installedAccess.load(); }

void setEffectByName(Object& object, std::string_view name) {
  requireAccess().setEffectByName(object, name);
}

std::shared_ptr<Effect::EffectBase> createEffectByName(std::string_view name) {
  return requireAccess().createEffect(name);
}

}  // namespace Edit
