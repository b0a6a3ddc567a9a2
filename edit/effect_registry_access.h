#pragma once
// What the edit model asks of the effect registry: an effect put into an object's chain by
// its name, and a fresh instance of a named effect (deep copies of chains are made from
// fresh instances). The registry lies above the edit model's records in the start-up order
// and installs its access when it is built; until then every lookup fails as the registry
// itself fails for an unknown name, with "not found effect.".
#include <memory>
#include <string_view>

namespace Effect {
class EffectBase;
}

namespace Edit {

class Object;

class EffectRegistryAccess {
 public:
  virtual ~EffectRegistryAccess() = default;
  // Puts the effect registered under `name` into the object's chain where its kind belongs
  // (input, output, filter or control), with the user's default values, its number items
  // sized to the object's points, and the object's control flag set for a control effect.
  // Throws "not found effect." for an unknown name and the chain's errors for an effect that
  // does not fit; the chain is then as it was.
  virtual void setEffectByName(Object& object, std::string_view name) = 0;
  // A new instance of the effect registered under `name`: the class's initial values and no
  // flags set. Throws "not found effect." for an unknown name.
  virtual std::shared_ptr<Effect::EffectBase> createEffect(std::string_view name) = 0;
};

// Installs the registry's access (nullptr removes it). Called on the UI thread while no
// edit runs.
void setEffectRegistryAccess(EffectRegistryAccess* access);
EffectRegistryAccess* effectRegistryAccess();

// Through the installed access; without one both throw "not found effect." with the place
// "Effect::EffectService::findEffect".
void setEffectByName(Object& object, std::string_view name);
std::shared_ptr<Effect::EffectBase> createEffectByName(std::string_view name);

}  // namespace Edit
