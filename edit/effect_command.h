#pragma once
// The edit command that lives with the effect chain: an effect taken out of an object's
// chain by the object setting window, as one undo step.
#include <memory>

namespace Effect {
class EffectBase;
}

namespace Edit {

class Object;

namespace EditCommand {

// Logs the removal, opens an update scope for the object (the setting windows rebuild and
// the edit-data listeners hear of it; the layers are not rebuilt), records the chain for
// undo and removes the effect (Object::removeEffect). The scope is closed also when the
// removal throws.
void removeEffect(const std::shared_ptr<Object>& object, const Effect::EffectBase* effect);

}  // namespace EditCommand

}  // namespace Edit
