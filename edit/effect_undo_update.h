#pragma once
// The undo state of one effect: a snapshot of every item value and the switched-off and
// locked flags. At commit the snapshots of items that did not change are released, and a
// changed text keeps only its changed middle part, so a step costs memory for what changed.
#include <memory>
#include <vector>

#include "effect/effect_item.h"

namespace Edit {
class UpdateSection;
}

namespace Effect {

class EffectBase;

struct EffectUndoUpdate {
  // One snapshot per item of the effect, in item order; null where released.
  std::vector<std::unique_ptr<EffectItem>> items;
  bool disable = false;
  bool lock = false;

  static void capture(EffectBase& effect, EffectUndoUpdate& state);
  // Throws "different number of items." when the effect's items changed in number.
  static bool compare(EffectUndoUpdate& before, EffectUndoUpdate& after);
  // Copies every kept snapshot into its live item; throws "different number of items." when
  // the state does not match the effect.
  static void restore(const std::shared_ptr<EffectBase>& effect, const EffectUndoUpdate& state,
                      Edit::UpdateSection& scope);
  // Whether the state holds a snapshot of `item` (an item of `effect`) and of no other item.
  static bool hasOnlyEffectItem(const EffectBase& effect, const EffectUndoUpdate& state,
                                const EffectItem& item);
};

}  // namespace Effect
