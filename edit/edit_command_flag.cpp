// The camera and clipping flags of objects and the switched-off and locked flags of their
// effects.
#include "edit/edit_command_flag.h"

#include <algorithm>

#include "edit/edit_command_object.h"
#include "edit/edit_command_scope.h"
#include "edit/edit_command_section.h"
#include "edit/edit_service.h"
#include "edit/edit_ui.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "edit/undo_service.h"
#include "effect/effect_base.h"
#include "system/log.h"

namespace Edit::EditCommand {

namespace {

// The camera and clipping commands: `set` is the flag to set, `other` the one that an
// enabled flag clears.
void setObjectFlag(const std::shared_ptr<Object>& object, bool enable, uint8_t Object::*set,
                   uint8_t Object::*other) {
  EditService* service = EditService::instance();
  CommandStep step(*service, Refresh::SettingWindows | Refresh::EditData, object);
  step.run([&](UpdateSection&) {
    service->undoService->pushObjectFlag(object);
    (*object).*set = enable ? 1 : 0;
    if (enable) (*object).*other = 0;
  });
}

// The list the clicked-object commands act on: the targets when Ctrl is held and the clicked
// object is one of them, else the clicked object alone.
ObjectList clickedList(const std::shared_ptr<Object>& clicked) {
  if (editUi().isControlKeyDown()) {
    const TargetObjects targets(*EditService::instance()->currentScene());
    if (std::find(targets.begin(), targets.end(), clicked) != targets.end())
      return targets.objects();
  }
  return {clicked};
}

}  // namespace

void setEnableCameraObject(const std::shared_ptr<Object>& object, bool enable) {
  if (!object) return;
  System::Log::info("Edit::EditCommand::setEnableCameraObject",
                    "set enable camera layer=%d frame=%d enable=%d", object->layer, object->start,
                    enable ? 1 : 0);
  setObjectFlag(object, enable, &Object::camera, &Object::clipping);
}

void setEnableClippingObject(const std::shared_ptr<Object>& object, bool enable) {
  if (!object) return;
  System::Log::info("Edit::EditCommand::setEnableClippingObject",
                    "set enable clipping layer=%d frame=%d enable=%d", object->layer, object->start,
                    enable ? 1 : 0);
  setObjectFlag(object, enable, &Object::clipping, &Object::camera);
}

void setEnableEffect(const std::shared_ptr<Object>& object,
                     const std::shared_ptr<Effect::EffectBase>& effect, bool enable) {
  if (!object || !effect) return;
  EditService* service = EditService::instance();
  System::Log::info("Edit::EditCommand::setEnableEffect",
                    "set enable effect [%s] layer=%d frame=%d enable=%d", effect->name,
                    object->layer, object->start, enable ? 1 : 0);
  CommandStep step(*service, Refresh::SettingValues | Refresh::EditData, object);
  step.run([&](UpdateSection&) {
    service->undoService->pushEffectUpdate(effect);
    effect->disable = !enable;
  });
}

void setEnableObject(const ObjectList& objects, bool enable) {
  if (objects.empty()) return;
  EditService* service = EditService::instance();
  System::Log::info("Edit::EditCommand::setEnableObject", "set enable effect num=%d enable=%d",
                    static_cast<int>(objects.size()), enable ? 1 : 0);
  // The list may be the selection, which a listener could change once the scope closes.
  const ObjectList list = objects;
  CommandStep step(*service, Refresh::SettingValues | Refresh::EditData);
  step.run([&](UpdateSection&) {
    for (const auto& object : list) {
      if (!object || object->effects.empty()) continue;
      const bool filterObject = object->effects.front() &&
                                object->effects.front()->effectType == Effect::EffectType::Filter;
      // Switching off an input or control effect switches off the whole object; a filter
      // object has no such head, so each of its filters is switched.
      const std::size_t count = filterObject ? object->effects.size() : 1;
      for (std::size_t i = 0; i < count; ++i) {
        const auto& effect = object->effects[i];
        if (!effect) continue;
        service->undoService->pushEffectUpdate(effect);
        effect->disable = !enable;
      }
    }
  });
}

void setLockEffect(const std::shared_ptr<Object>& object,
                   const std::shared_ptr<Effect::EffectBase>& effect, bool lock) {
  if (!object || !effect) return;
  EditService* service = EditService::instance();
  System::Log::info("Edit::EditCommand::setLockEffect",
                    "set lock effect [%s] layer=%d frame=%d lock=%d", effect->name, object->layer,
                    object->start, lock ? 1 : 0);
  CommandStep step(*service, Refresh::SettingValues | Refresh::EditData, object);
  step.run([&](UpdateSection&) {
    service->undoService->pushEffectUpdate(effect);
    effect->lock = lock;
    // An input and its output are handled as one in the preview.
    if (effect->effectType == Effect::EffectType::Input && object->effects.size() > 1 &&
        object->effects[1] && object->effects[1] != effect) {
      service->undoService->pushEffectUpdate(object->effects[1]);
      object->effects[1]->lock = lock;
    }
  });
}

void setLockObject(const ObjectList& objects, bool lock) {
  if (objects.empty()) return;
  EditService* service = EditService::instance();
  System::Log::info("Edit::EditCommand::setLockObject", "set lock effect num=%d lock=%d",
                    static_cast<int>(objects.size()), lock ? 1 : 0);
  const ObjectList list = objects;
  CommandStep step(*service, Refresh::SettingValues | Refresh::EditData);
  step.run([&](UpdateSection&) {
    for (const auto& object : list) {
      if (!object) continue;
      for (const auto& effect : object->effects) {
        if (!effect) continue;
        service->undoService->pushEffectUpdate(effect);
        effect->lock = lock;
      }
    }
  });
}

void setEnableClickedObject(const std::shared_ptr<Object>& clicked, bool enable) {
  if (!clicked) return;
  setEnableObject(clickedList(clicked), enable);
}

void setLockClickedObject(const std::shared_ptr<Object>& clicked, bool lock) {
  if (!clicked) return;
  setLockObject(clickedList(clicked), lock);
}

}  // namespace Edit::EditCommand
