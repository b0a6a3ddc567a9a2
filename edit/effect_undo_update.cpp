#include "edit/effect_undo_update.h"

#include "edit/update_section.h"
#include "effect/effect_base.h"
#include "effect/effect_item_text.h"
#include "system/exception.h"

namespace Effect {

namespace {

void checkCount(std::size_t stateCount, std::size_t itemCount, const char* place) {
  if (stateCount != itemCount) throw System::makeException(place, "different number of items.");
}

}  // namespace

void EffectUndoUpdate::capture(EffectBase& effect, EffectUndoUpdate& state) {
  state.items.clear();
  state.items.reserve(effect.items.size());
  for (const EffectItem* item : effect.items) state.items.push_back(item->clone());
  state.disable = effect.disable;
  state.lock = effect.lock;
}

bool EffectUndoUpdate::compare(EffectUndoUpdate& before, EffectUndoUpdate& after) {
  checkCount(before.items.size(), after.items.size(), "Effect::EffectUndoUpdate::commit");
  bool changed = false;
  for (std::size_t i = 0; i < before.items.size(); ++i) {
    auto& was = before.items[i];
    auto& now = after.items[i];
    if (!was || !now || was->equals(*now)) {
      was.reset();
      now.reset();
      continue;
    }
    changed = true;
    if (was->typeCode == ItemType::Text) {
      auto* wasText = dynamic_cast<EffectItemText*>(was.get());
      auto* nowText = dynamic_cast<EffectItemText*>(now.get());
      if (wasText && nowText) EffectItemText::makeUndoDiff(*wasText, *nowText);
    }
  }
  return changed || before.disable != after.disable || before.lock != after.lock;
}

void EffectUndoUpdate::restore(const std::shared_ptr<EffectBase>& effect,
                               const EffectUndoUpdate& state, Edit::UpdateSection& scope) {
  checkCount(state.items.size(), effect->items.size(), "Effect::EffectUndoUpdate::restore");
  scope.rebuildEffectSetting = true;
  scope.updateTimeSetting = true;
  scope.updateColorSetting = true;
  scope.updateTextSetting = true;
  for (std::size_t i = 0; i < state.items.size(); ++i)
    if (state.items[i]) effect->items[i]->copyFrom(*state.items[i]);
  effect->disable = state.disable;
  effect->lock = state.lock;
}

bool EffectUndoUpdate::hasOnlyEffectItem(const EffectBase& effect, const EffectUndoUpdate& state,
                                         const EffectItem& item) {
  checkCount(state.items.size(), effect.items.size(),
             "Effect::EffectUndoUpdate::hasOnlyEffectItem");
  bool found = false;
  for (std::size_t i = 0; i < state.items.size(); ++i) {
    if (!state.items[i]) continue;
    if (effect.items[i] != &item) return false;
    found = true;
  }
  return found;
}

}  // namespace Effect
