#pragma once
// How a number item travels between the values it keeps at its object's points.
//
// Every movement kind is registered once, as a prototype that all items using it share
// (effect/movement_registry.h). A prototype never changes after registration and keeps no
// state between calls, so the render workers evaluate it concurrently without a lock.
#include <string>
#include <vector>

#include "effect/section_position.h"

namespace Effect {

class EffectContext;
class EffectItemNumber;

class MovementBase {
 public:
  MovementBase(const MovementBase&) = delete;
  MovementBase& operator=(const MovementBase&) = delete;
  virtual ~MovementBase();

  // The value of the track at a position of its object, in display units. The base
  // refuses with "not implement.": every kind supplies it.
  virtual double getValue(const EffectItemNumber& track, const SectionPosition& position,
                          const EffectContext& context) const;
  // The section a time-controlled kind is in after its progress lookup; -1 for kinds that
  // follow the object's sections as they are.
  virtual int getSectionFrame(const EffectItemNumber& track, const SectionPosition& position) const;
  // Whether the kind has a value at that point that the user can place.
  virtual bool hasEndValue(const EffectItemNumber& track, int pointIndex) const;
  // Whether the preview draws the path the value takes.
  virtual bool isTrajectoryVisible(const EffectItemNumber& track) const;

  // Options offered to the user, as the accelerate, decelerate and ignore-midpoints fields
  // hold them.
  enum Option : int {
    NotOffered = -1,
    OfferedOff = 0,
    OfferedOn = 1,
    AlwaysOn = 2,  // ignore midpoints only: a kind that always spans the whole object
  };

  // The registry key and the name track texts carry.
  std::string name;
  // Fixed number of values (1 for no movement, 2 for a playback range), or -1: one value
  // per point of the object.
  int valueCount;
  // Copied into a track when it takes this kind.
  std::vector<double> defaultTimeControl;
  std::vector<double> defaultParams;
  int accelerate = NotOffered;
  int decelerate = NotOffered;
  int ignoreMidpoints = NotOffered;
  // The preview offers the item's handles at every point, not only at the first and last.
  bool midpointAnchors = true;
  // Shown in the general movement menu.
  bool listed = true;
  // The progress passes through the track's easing curve.
  bool timeControl = false;

 protected:
  MovementBase(std::string name, int valueCount);
};

}  // namespace Effect
