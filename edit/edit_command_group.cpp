// Grouping and ungrouping objects, and fitting the layer range of selected control objects.
#include <algorithm>

#include "edit/edit_command_object.h"
#include "edit/edit_command_scope.h"
#include "edit/edit_command_section.h"
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
  auto scope = service->beginUpdate();
  scope.beginUndo();
  Detail::runClosing(scope, [&] {
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
  auto scope = service->beginUpdate();
  scope.beginUndo();
  Detail::runClosing(scope, [&] {
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

  auto scope = service->beginUpdate();
  scope.updateLayer = true;
  scope.notifyObject = true;
  scope.updateEffectSetting = true;
  scope.updateColorSetting = true;
  scope.beginUndo();
  Detail::runClosing(scope, [&] {
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
