#pragma once
// Number tracks under the built-in movement kinds: one prototype of each kind for the whole
// test program, tracks made from display values, link groups, and the value at an instant
// of a fake object.
#include <cmath>
#include <memory>
#include <vector>

#include "../effect/number_test_support.h"
#include "effect/effect_item_number.h"
#include "effect/movement_base.h"

namespace MovementTest {

// The shared prototype of a kind, as the registry would hold it.
template <class Kind>
const Kind& kind() {
  static const Kind prototype;
  return prototype;
}

// Tracks of one effect. Each keeps its values in display units of its step.
class Tracks {
 public:
  Effect::EffectItemNumber& add(const Effect::MovementBase& movement,
                                const std::vector<double>& values, int flags = 0,
                                double step = 1.0) {
    auto& track = *tracks_.emplace_back(std::make_unique<Effect::EffectItemNumber>(
        items_, "X", 0.0, -100000.0, 100000.0, step));
    track.movement = &movement;
    track.flags = flags;
    track.params = movement.defaultParams;
    track.values.assign(values.size(), 0);
    for (std::size_t i = 0; i < values.size(); ++i)
      track.setValue(values[i], static_cast<int>(i));
    return track;
  }
  // Makes the tracks, in this order, one link group.
  void link(std::initializer_list<Effect::EffectItemNumber*> members) {
    group_.assign(members.begin(), members.end());
    for (Effect::EffectItemNumber* member : members) member->linkGroup = &group_;
  }

 private:
  Effect::EffectItemList items_;
  std::vector<std::unique_ptr<Effect::EffectItemNumber>> tracks_;
  Effect::NumberItemList group_;
};

// The value at `time` (in frames, may be fractional) of a fake object.
inline double valueAt(const Effect::EffectItemNumber& track,
                      const std::shared_ptr<Edit::Object>& object, double time) {
  return track.getValue(
      TestSupport::contextAt(object, static_cast<int>(std::floor(time)), time));
}

}  // namespace MovementTest
