#include "edit/undo_service.h"

#include <algorithm>

#include "edit/color_setting_undo.h"
#include "edit/edit_service.h"
#include "edit/effect_undo_update.h"
#include "edit/layer.h"
#include "edit/layer_undo.h"
#include "edit/object.h"
#include "edit/object_undo.h"
#include "edit/update_section.h"
#include "effect/effect_base.h"
#include "system/log.h"
#include "system/setting_service.h"

namespace Undo {

namespace {

using EffectUpdateItem = UndoItemTemplate<Effect::EffectBase, Effect::EffectUndoUpdate>;

}  // namespace

UndoService::UndoService() : binding_(config_, Setting::ParameterIni::instance()) {
  binding_.load();
}

UndoService::~UndoService() = default;

void UndoService::beginStep() {
  recording = true;
  pending_.clear();
}

void UndoService::discardStep() noexcept {
  recording = false;
  pending_.clear();
}

void UndoService::commit() {
  recording = false;
  UndoStep step;
  try {
    for (auto& item : pending_)
      if (item->commit()) step.push_back(std::move(item));
  } catch (...) {
    pending_.clear();
    throw;
  }
  pending_.clear();
  if (step.empty() || !history_) return;

  // A new edit ends the redo steps.
  auto& steps = history_->steps;
  while (history_->undone > 0 && !steps.empty()) {
    steps.pop_front();
    --history_->undone;
  }
  history_->undone = 0;
  steps.push_front(std::move(step));
  const auto limit = static_cast<std::size_t>(std::max(undoMax, 0));
  while (steps.size() > limit) steps.pop_back();
  modified = true;
}

template <class Op, class Target>
void UndoService::push(const std::shared_ptr<Target>& target, bool capture) {
  auto item = std::make_unique<UndoItemTemplate<Target, Op>>(target);
  if (capture) item->captureBefore();
  pending_.push_back(std::move(item));
}

void UndoService::pushObjectUpdate(const std::shared_ptr<Edit::Object>& object) {
  push<Edit::ObjectUndoUpdate>(object, true);
}

void UndoService::pushObjectCreate(const std::shared_ptr<Edit::Object>& object) {
  // "Before" is the default state: not in the scene.
  push<Edit::ObjectUndoCreateDelete>(object, false);
}

void UndoService::pushObjectDelete(const std::shared_ptr<Edit::Object>& object) {
  push<Edit::ObjectUndoCreateDelete>(object, true);
}

void UndoService::pushObjectSection(const std::shared_ptr<Edit::Object>& object) {
  push<Edit::ObjectUndoSection>(object, true);
  for (const auto& effect : object->effects)
    if (effect) pushEffectUpdate(effect);
}

void UndoService::pushObjectGroup(const std::shared_ptr<Edit::Object>& object) {
  push<Edit::ObjectUndoGroup>(object, true);
}

void UndoService::pushObjectEffect(const std::shared_ptr<Edit::Object>& object) {
  push<Edit::ObjectUndoEffect>(object, true);
}

void UndoService::pushObjectFlag(const std::shared_ptr<Edit::Object>& object) {
  push<Edit::ObjectUndoFlag>(object, true);
}

void UndoService::pushObjectLayerRange(const std::shared_ptr<Edit::Object>& object) {
  push<Edit::ObjectUndoLayerRange>(object, true);
}

void UndoService::pushEffectUpdate(const std::shared_ptr<Effect::EffectBase>& effect) {
  push<Effect::EffectUndoUpdate>(effect, true);
}

void UndoService::pushLayerUpdate(const std::shared_ptr<Edit::Layer>& layer) {
  push<Edit::LayerUndoUpdate>(layer, true);
}

void UndoService::pushColorSettingUpdate(
    const std::shared_ptr<Component::ColorSetting>& colorSetting) {
  push<Component::ColorSettingUndoUpdate>(colorSetting, true);
}

void UndoService::pushItem(std::unique_ptr<UndoItem> item) {
  if (item) pending_.push_back(std::move(item));
}

void UndoService::replay(UndoStep& step, bool forward, bool keepTextEditing) {
  Edit::EditService* editService = Edit::EditService::instance();
  auto scope = editService->beginUpdate();
  scope.notifyObject = true;
  try {
    if (forward) {
      for (auto& item : step) item->redo(scope);
    } else {
      for (auto it = step.rbegin(); it != step.rend(); ++it) (*it)->undo(scope);
    }
  } catch (...) {
    // The items before the failing one stay applied; the scope still finishes.
    try {
      scope.close();
    } catch (...) {
    }
    throw;
  }
  if (keepTextEditing) {
    // The text window keeps its caret and selection: only the text is reloaded.
    scope.rebuildEffectSetting = false;
    scope.updateTimeSetting = false;
    scope.updateColorSetting = false;
  }
  scope.close();
}

void UndoService::undo() {
  if (!canUndo() || !Edit::EditService::instance()) return;
  UndoStep& step = history_->steps[history_->undone];
  ++history_->undone;
  System::Log::info("Undo::UndoService::undo", "Undo: %d", static_cast<int>(step.size()));
  replay(step, false, false);
}

void UndoService::redo() {
  if (!canRedo() || !Edit::EditService::instance()) return;
  --history_->undone;
  UndoStep& step = history_->steps[history_->undone];
  System::Log::info("Undo::UndoService::redo", "Redo: %d", static_cast<int>(step.size()));
  replay(step, true, false);
}

void UndoService::undoText(const Effect::EffectItem& item) {
  if (!canUndo() || !Edit::EditService::instance()) return;
  UndoStep& step = history_->steps[history_->undone];
  if (!isOnlyEffectItemStep(step, item)) return;
  ++history_->undone;
  System::Log::info("Undo::UndoService::undoText", "UndoText: %d", static_cast<int>(step.size()));
  replay(step, false, true);
}

void UndoService::redoText(const Effect::EffectItem& item) {
  if (!canRedo() || !Edit::EditService::instance()) return;
  UndoStep& step = history_->steps[history_->undone - 1];
  if (!isOnlyEffectItemStep(step, item)) return;
  --history_->undone;
  System::Log::info("Undo::UndoService::redoText", "Redo: %d", static_cast<int>(step.size()));
  replay(step, true, true);
}

bool UndoService::isOnlyEffectItemStep(const UndoStep& step, const Effect::EffectItem& item) {
  if (step.size() != 1) return false;
  const auto* update = dynamic_cast<const EffectUpdateItem*>(step.front().get());
  if (!update) return false;
  const Effect::EffectBase& effect = update->target();
  return Effect::EffectUndoUpdate::hasOnlyEffectItem(effect, update->before(), item) &&
         Effect::EffectUndoUpdate::hasOnlyEffectItem(effect, update->after(), item);
}

}  // namespace Undo
