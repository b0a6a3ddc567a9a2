#include "main_window/preview/anchor_service_host.h"

#include "edit/edit_service.h"
#include "edit/layer.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "edit/undo_service.h"
#include "effect/anchor_edit_access.h"
#include "ui/mouse_selection_input.h"
#include "ui/window_mouse.h"

namespace Anchor {

namespace {

Edit::EditService* edit() { return Edit::EditService::instance(); }

Edit::Scene* scene() {
  Edit::EditService* service = edit();
  return service ? service->currentScene().get() : nullptr;
}

}  // namespace

bool AnchorServiceHost::singleClickFocusesObject() const {
  return edit() && edit()->settings.singleClickFocusAnchorObject != 0;
}

bool AnchorServiceHost::clickSelectsGroup() const {
  return edit() && edit()->settings.clickAnchorObjectSelectGroup != 0;
}

bool AnchorServiceHost::hoverHidesOtherAnchors() const {
  return edit() && edit()->settings.mouseHoverHideOtherAnchor != 0;
}

const Edit::Object* AnchorServiceHost::focusObject() const {
  const Edit::Scene* current = scene();
  return current ? current->focusObject.get() : nullptr;
}

bool AnchorServiceHost::isSelected(const Edit::Object& object) const { return object.selected; }

bool AnchorServiceHost::selectionEmpty() const {
  const Edit::Scene* current = scene();
  return !current || current->selection.empty();
}

void AnchorServiceHost::setFocusObject(const std::shared_ptr<Edit::Object>& object) {
  if (edit()) edit()->setFocusObject(object);
}

void AnchorServiceHost::clickSelectObject(const std::shared_ptr<Edit::Object>& object,
                                          bool withGroup) {
  if (edit()) edit()->clickSelectObject(Window::inputTargetOf(&target_), object, withGroup);
}

void AnchorServiceHost::clickOutsideSelection() {
  if (edit()) edit()->clickOutsideSelection(Window::inputTargetOf(&target_));
}

int AnchorServiceHost::sceneWidth() const {
  const Edit::Scene* current = scene();
  return current ? current->width : 0;
}

int AnchorServiceHost::sceneHeight() const {
  const Edit::Scene* current = scene();
  return current ? current->height : 0;
}

std::shared_ptr<Effect::EffectBase> AnchorServiceHost::firstEffect(
    const Edit::Object& object) const {
  return Effect::anchorEditAccess().getFirstEffect(object);
}

std::string AnchorServiceHost::layerName(const Edit::Object& object) const {
  if (const Edit::Scene* current = scene()) {
    const auto& record = current->getLayerObjects(object.layer).layer;
    if (record && !record->name.empty()) return record->name;
  }
  return "Layer " + std::to_string(object.layer + 1);
}

void AnchorServiceHost::beginDrag(bool dragCursor) {
  if (!target_.mouseService) return;
  target_.mouseService->beginDrag(pressX_, pressY_,
                                  dragCursor ? Window::MouseCursor::SizeAll
                                             : Window::MouseCursor::Arrow);
}

void AnchorServiceHost::beginUndoStep() {
  if (auto* undo = Undo::UndoService::instance()) undo->beginStep();
}

void AnchorServiceHost::recordEffect(const std::shared_ptr<Effect::EffectBase>& effect) {
  auto* undo = Undo::UndoService::instance();
  if (undo && undo->isRecording() && effect) undo->pushEffectUpdate(effect);
}

void AnchorServiceHost::commitUndoStep() {
  auto* undo = Undo::UndoService::instance();
  if (undo && undo->isRecording()) undo->commit();
}

void AnchorServiceHost::runDragStep(const std::function<void()>& step) {
  if (!edit()) {
    step();
    return;
  }
  Edit::UpdateSection section = edit()->beginUpdate();
  section.updateEffectSetting = true;
  section.updateColorSetting = true;
  section.notifyObject = true;
  step();
  section.close();
}

}  // namespace Anchor
