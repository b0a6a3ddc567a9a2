#pragma once
// The flag commands: the camera and clipping flags of objects and the switched-off and
// locked flags of their effects. Each is one undoable step like the other commands that
// change an object in place (edit_command_section.h); a missing object or effect or an
// empty list does nothing. UI thread only.
#include <memory>

#include "edit/edit_command_object.h"

namespace Effect {
class EffectBase;
}  // namespace Effect

namespace Edit::EditCommand {

// Sets the camera (clipping) flag; setting one clears the other, so an object never has
// both.
void setEnableCameraObject(const std::shared_ptr<Object>& object, bool enable);
void setEnableClippingObject(const std::shared_ptr<Object>& object, bool enable);
// Switches one effect on or off.
void setEnableEffect(const std::shared_ptr<Object>& object,
                     const std::shared_ptr<Effect::EffectBase>& effect, bool enable);
// Switches objects on or off: the first effect of a media or control object (which switches
// the whole object), every effect of a filter object. An empty list does nothing.
void setEnableObject(const ObjectList& objects, bool enable);
// Locks one effect; locking an input locks its output with it.
void setLockEffect(const std::shared_ptr<Object>& object,
                   const std::shared_ptr<Effect::EffectBase>& effect, bool lock);
// Locks every effect of every listed object. An empty list does nothing.
void setLockObject(const ObjectList& objects, bool lock);
// The clicked object alone, or all targets when Ctrl is held and it is one of them.
void setEnableClickedObject(const std::shared_ptr<Object>& clicked, bool enable);
void setLockClickedObject(const std::shared_ptr<Object>& clicked, bool lock);

}  // namespace Edit::EditCommand
