#pragma once
// The edit commands that effect and alias menu entries run. They belong to the edit model,
// which lies above the effect framework; it installs them once its commands exist. Until
// then (and in a run without an edit model) running an entry is refused with
// "not implement.".
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace Edit {
class Object;
}

namespace Effect {

class EffectBase;

struct EditCommandHooks {
  // A new object on the current scene carrying the named effect.
  std::function<void(std::string_view effectName, int layer, int frame)> createObject;
  // The named effect put on an existing object.
  std::function<void(const std::shared_ptr<Edit::Object>& object, std::string_view effectName,
                     EffectBase* afterEffect, bool replace)>
      setEffect;
  // A new object read from an alias file (an expanded path).
  std::function<void(const std::string& path, int layer, int frame)> loadObject;
  // The effects of an alias file added to an existing object.
  std::function<void(const std::shared_ptr<Edit::Object>& object, const std::string& path,
                     EffectBase* afterEffect, bool replace)>
      loadEffect;
};

// Installs the hooks (an empty set removes them). UI thread, while no menu runs.
void setEditCommandHooks(EditCommandHooks hooks);
const EditCommandHooks& editCommandHooks();

}  // namespace Effect
