#include "builtin/movement/linear_speed.h"

#include "builtin/movement/linked_points.h"
#include "builtin/movement/movement_curves.h"
#include "builtin/movement/path_progress.h"
#include "effect/effect_item_number.h"

namespace Effect {

namespace {

// Acceleration and deceleration make their section count twice in the path's length: it
// starts (or ends) at rest, so it needs more of the object's time.
PathProgress lookUp(const EffectItemNumber& track, const SectionPosition& position) {
  const LinkedPoints points(track);
  return findPathProgress(points, position.sectionCount,
                          track.applyTimeControl(position.objectFraction),
                          track.flags & EffectItemNumber::FlagAccelerate,
                          track.flags & EffectItemNumber::FlagDecelerate);
}

}  // namespace

LinearSpeed::LinearSpeed() : MovementBase(kName, -1) {
  accelerate = OfferedOff;
  decelerate = OfferedOff;
  ignoreMidpoints = NotOffered;
  timeControl = true;
  midpointAnchors = false;
}

double LinearSpeed::getValue(const EffectItemNumber& track, const SectionPosition& position,
                             const EffectContext&) const {
  const PathProgress at = lookUp(track, position);
  const int k = at.section;
  const bool accelerates = k == 0 && (track.flags & EffectItemNumber::FlagAccelerate);
  const bool decelerates =
      k == position.sectionCount - 1 && (track.flags & EffectItemNumber::FlagDecelerate);
  return easedLine(at.progress, track.getDisplayValue(k), track.getDisplayValue(k + 1),
                   accelerates, decelerates);
}

int LinearSpeed::getSectionFrame(const EffectItemNumber& track,
                                 const SectionPosition& position) const {
  return lookUp(track, position).section;
}

}  // namespace Effect
