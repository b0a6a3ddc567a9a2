#include "builtin/movement/interpolation_move.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "builtin/movement/linked_points.h"
#include "builtin/movement/movement_curves.h"
#include "builtin/movement/spline_segment.h"
#include "effect/effect_context.h"
#include "effect/effect_item_number.h"

namespace Effect {

namespace {

// The frames of section i of the object, or `fallback` when the object has no such
// section (a context without an object).
double sectionFrames(const ObjectFrames& object, int i, double fallback) {
  const auto& midpoints = object.midpoints;
  const std::size_t count = midpoints.size();
  if (i < 0 || static_cast<std::size_t>(i) > count) return fallback;
  const auto index = static_cast<std::size_t>(i);
  int64_t frames;
  if (count == 0)
    frames = int64_t{object.end} - object.start;
  else if (index == 0)
    frames = midpoints[0];
  else if (index < count)
    frames = int64_t{midpoints[index]} - midpoints[index - 1];
  else
    frames = int64_t{object.end} - midpoints.back() - object.start;
  return static_cast<double>(frames);
}

}  // namespace

InterpolationMove::InterpolationMove() : MovementBase(kName, -1) {
  accelerate = OfferedOn;
  decelerate = OfferedOn;
  ignoreMidpoints = NotOffered;
}

double InterpolationMove::getValue(const EffectItemNumber& track, const SectionPosition& position,
                                   const EffectContext& context) const {
  const int k = position.sectionIndex;
  const int n = position.sectionCount;
  const LinkedPoints points(track);
  const SplineSegment segment(points, k, n, !(track.flags & EffectItemNumber::FlagAccelerate),
                              !(track.flags & EffectItemNumber::FlagDecelerate));

  const double length = position.sectionLength;
  const double previous = k <= 0 ? length : sectionFrames(context.objectFrames, k - 1, length);
  const double next = k >= n - 1 ? length : sectionFrames(context.objectFrames, k + 1, length);
  const double t = position.framesInSection / length;
  const double w = cubicBezier(t, 0.0, 0.75 * length / std::max(1.0, length + previous),
                               1.0 - 0.75 * length / std::max(1.0, length + next), 1.0);
  return segment.valueAt(w);
}

}  // namespace Effect
