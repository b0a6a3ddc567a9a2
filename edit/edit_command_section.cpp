// Midpoints added and removed, and the cursor moved to a typed time or between the focus
// object's points.
#include "edit/edit_command_section.h"

#include <cstdint>
#include <utility>

#include "edit/edit_command_object.h"
#include "edit/edit_command_scope.h"
#include "edit/edit_service.h"
#include "edit/edit_ui.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "edit/undo_service.h"
#include "system/log.h"

namespace Edit {

namespace {

// Records the object and puts a midpoint at the frame, each track taking its value there.
void addSectionAt(UpdateSection& scope, Undo::UndoService& undo,
                  const std::shared_ptr<Object>& object, int frame) {
  undo.pushObjectSection(object);
  SectionValueMap values;
  object->copySectionValues(values, *scope.scene, object, frame, false);
  object->addSection(frame, &values);
}

}  // namespace

namespace EditCommand {

void createSection(const std::shared_ptr<Object>& object, int frame) {
  if (!object) return;
  EditService* service = EditService::instance();
  System::Log::info("Edit::EditCommand::createSection", "create section layer=%d frame=%d",
                    object->layer, frame);
  CommandStep step(*service, Refresh::SettingWindows | Refresh::EditData, object);
  step.run(
      [&](UpdateSection& scope) { addSectionAt(scope, *service->undoService, object, frame); });
}

void createSectionAtFrame(int frame) {
  EditService* service = EditService::instance();
  const TargetObjects targets(*service->currentScene());
  if (targets.empty()) return;
  System::Log::info("Edit::EditCommand::createSection", "create section frame=%d num=%d", frame,
                    static_cast<int>(targets.size()));
  const TargetObjects::List objects = targets.objects();
  CommandStep step(*service, Refresh::SettingWindows | Refresh::EditData);
  step.run([&](UpdateSection& scope) {
    for (const auto& object : objects)
      if (object->canAddSectionAt(frame)) addSectionAt(scope, *service->undoService, object, frame);
  });
}

void deleteSection(const std::shared_ptr<Object>& object, int pointIndex) {
  if (!object) return;
  EditService* service = EditService::instance();
  System::Log::info("Edit::EditCommand::deleteSection",
                    "delete section layer=%d frame=%d section=%d", object->layer, object->start,
                    pointIndex);
  CommandStep step(*service, Refresh::SettingWindows | Refresh::EditData, object);
  step.run([&](UpdateSection&) {
    service->undoService->pushObjectSection(object);
    object->deleteSection(pointIndex);
  });
}

void deleteSectionAtFrame(int frame) {
  EditService* service = EditService::instance();
  const TargetObjects targets(*service->currentScene());
  if (targets.empty()) return;
  System::Log::info("Edit::EditCommand::deleteSection", "delete section frame=%d num=%d", frame,
                    static_cast<int>(targets.size()));
  const TargetObjects::List objects = targets.objects();
  CommandStep step(*service, Refresh::SettingWindows | Refresh::EditData);
  step.run([&](UpdateSection&) {
    for (const auto& object : objects) {
      const int n = object->findSection(frame);
      if (n <= 0 || int64_t{object->start} + object->boundaries[n - 1] != frame) continue;
      service->undoService->pushObjectSection(object);
      object->deleteSection(n);
    }
  });
}

// --- cursor ------------------------------------------------------------------------------

void jumpToTime() {
  EditService* service = EditService::instance();
  const auto frame = editUi().askTimeFrame("指定時間に移動", "秒数指定", "フレーム数指定",
                                           service->currentScene()->cursorFrame);
  if (!frame) return;
  service->setCursorFrame(*frame);
}

void jumpNextSection() {
  EditService* service = EditService::instance();
  const Scene& scene = *service->currentScene();
  const std::shared_ptr<Object> focus = scene.focusObject;
  if (!focus) return;
  const int cursor = scene.cursorFrame;
  int64_t target;
  if (cursor < focus->start) {
    target = focus->start;
  } else {
    const int i = focus->findSection(cursor);
    if (i < static_cast<int>(focus->boundaries.size())) {
      target = int64_t{focus->start} + focus->boundaries[i];
    } else {
      if (cursor == focus->end) return;
      target = focus->end;
    }
  }
  service->setCursorFrame(static_cast<int>(target));
}

void jumpPrevSection() {
  EditService* service = EditService::instance();
  const Scene& scene = *service->currentScene();
  const std::shared_ptr<Object> focus = scene.focusObject;
  if (!focus) return;
  const int cursor = scene.cursorFrame;
  int64_t target;
  if (cursor > focus->end) {
    target = focus->end;
  } else {
    const int i = focus->findSection(cursor);
    const int64_t first = focus->sectionFirstFrame(i);
    target = first < cursor ? first : focus->sectionFirstFrame(i - 1);
  }
  if (target == cursor) return;
  service->setCursorFrame(static_cast<int>(target));
}

}  // namespace EditCommand

}  // namespace Edit
