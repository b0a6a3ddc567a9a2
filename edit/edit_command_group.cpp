// Grouping and ungrouping objects, and fitting the layer range of selected control objects.
#include "edit/edit_command_group.h"

#include <algorithm>

#include "edit/edit_command_object.h"
#include "edit/edit_command_scope.h"
#include "edit/edit_service.h"
#include "edit/group.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "edit/undo_service.h"
#include "effect/effect_base.h"
#include "effect/effect_item_integer.h"
#include "system/log.h"

namespace Edit::EditCommand {

void setGroup() {
  EditService* service = EditService::instance();
  const Scene& current = *service->currentScene();
  if (current.selection.objects.size() < 2) return;
  const ObjectList objects = current.selection.objects;
  System::Log::info("Edit::EditCommand::setGroup", "set group object num=%d",
                    static_cast<int>(objects.size()));
  // Groups show in no window and carry no edit data: nothing to refresh.
  CommandStep step(*service, Refresh::Nothing);
  step.run([&](UpdateSection&) {
    auto group = std::make_shared<Group>();
    for (const auto& object : objects) {
      service->undoService->pushObjectGroup(object);
      object->joinGroup(group);
    }
  });
}

void clearGroup() {
  EditService* service = EditService::instance();
  const TargetObjects targets(*service->currentScene());
  if (targets.empty()) return;
  const ObjectList objects = targets.objects();
  System::Log::info("Edit::EditCommand::clearGroup", "clear group object");
  CommandStep step(*service, Refresh::Nothing);
  step.run([&](UpdateSection&) {
    for (const auto& object : objects) {
      service->undoService->pushObjectGroup(object);
      object->removeFromGroup();
    }
  });
}

void adjustLayerRange() {
  EditService* service = EditService::instance();
  const Selection& selection = service->currentScene()->selection;
  const ObjectList objects = selection.objects;
  const bool hasControl = std::any_of(objects.begin(), objects.end(),
                                      [](const auto& object) { return object->controlFlag; });
  if (!hasControl || objects.size() < 2) return;
  int lowest = 0;
  for (const auto& object : objects) lowest = std::max(lowest, object->layer);

  CommandStep step(*service, Refresh::Layers | Refresh::SettingValues | Refresh::EditData);
  step.run([&](UpdateSection& scope) {
    for (const auto& object : objects) {
      if (!object->controlFlag || object->layer >= lowest || object->effects.empty() ||
          !object->effects.front())
        continue;
      Effect::EffectItemLayerRange* range = object->effects.front()->getLayerRange();
      if (!range) continue;
      service->undoService->pushObjectLayerRange(object);
      range->value = lowest - object->layer;
      scope.scene->markRange(*object);
    }
  });
}

}  // namespace Edit::EditCommand
