#include "builtin/movement/teleportation_move.h"

#include <cstdint>

#include "effect/effect_item_number.h"

namespace Effect {

TeleportationMove::TeleportationMove() : MovementBase(kName, -1) {
  ignoreMidpoints = NotOffered;
}

double TeleportationMove::getValue(const EffectItemNumber& track, const SectionPosition& position,
                                   const EffectContext&) const {
  return track.getDisplayValue(position.sectionIndex);
}

bool TeleportationMove::hasEndValue(const EffectItemNumber& track, int pointIndex) const {
  return int64_t{pointIndex} < static_cast<int64_t>(track.values.size()) - 1;
}

}  // namespace Effect
