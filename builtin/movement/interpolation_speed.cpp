#include "builtin/movement/interpolation_speed.h"

#include <algorithm>

#include "builtin/movement/linked_points.h"
#include "builtin/movement/movement_curves.h"
#include "builtin/movement/path_progress.h"
#include "builtin/movement/spline_segment.h"
#include "effect/effect_item_number.h"

namespace Effect {

namespace {

constexpr double kLeastChordSum = SplineSegment::kLeastChordSum;

PathProgress lookUp(const LinkedPoints& points, const EffectItemNumber& track,
                    const SectionPosition& position) {
  return findPathProgress(points, position.sectionCount,
                          track.applyTimeControl(position.objectFraction), false, false);
}

}  // namespace

InterpolationSpeed::InterpolationSpeed() : MovementBase(kName, -1) {
  ignoreMidpoints = NotOffered;
  timeControl = true;
  midpointAnchors = false;
}

double InterpolationSpeed::getValue(const EffectItemNumber& track,
                                    const SectionPosition& position, const EffectContext&) const {
  const LinkedPoints points(track);
  const PathProgress at = lookUp(points, track, position);
  const SplineSegment segment(points, at.section, position.sectionCount, true, true);
  // The curve's parameter is warped by the chords around the section, so that the pace
  // along the curve stays close to the pace of the length lookup.
  const double span = segment.span();
  const double w = cubicBezier(
      at.progress, 0.0, (2.0 / 3.0) * span / std::max(segment.before() + span, kLeastChordSum),
      1.0 - (2.0 / 3.0) * span / std::max(span + segment.after(), kLeastChordSum), 1.0);
  return segment.valueAt(w);
}

int InterpolationSpeed::getSectionFrame(const EffectItemNumber& track,
                                        const SectionPosition& position) const {
  const LinkedPoints points(track);
  return lookUp(points, track, position).section;
}

}  // namespace Effect
