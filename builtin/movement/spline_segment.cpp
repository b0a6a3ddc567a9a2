#include "builtin/movement/spline_segment.h"

#include <algorithm>

#include "builtin/movement/movement_curves.h"

namespace Effect {

SplineSegment::SplineSegment(const LinkedPoints& points, int k, int sectionCount,
                             bool extrapolateStart, bool extrapolateEnd) {
  const Point3D from = points.at(k);
  const Point3D to = points.at(k + 1);
  const Point3D before = k <= 0 && extrapolateStart
                             ? extrapolatedEnd(points.at(0), points.at(1), points.at(2))
                             : points.at(k - 1);
  const Point3D after = k >= sectionCount - 1 && extrapolateEnd
                            ? extrapolatedEnd(to, from, points.at(k - 1))
                            : points.at(k + 2);

  before_ = distance(before, from);
  span_ = distance(from, to);
  after_ = distance(to, after);

  const double d0 = from.x - before.x;
  const double d1 = to.x - from.x;
  const double d2 = after.x - to.x;
  from_ = from.x;
  to_ = to.x;
  startTangent_ = (before_ * d1 + span_ * d0) / std::max(before_ + span_, kLeastChordSum);
  endTangent_ = (after_ * d1 + span_ * d2) / std::max(span_ + after_, kLeastChordSum);
}

double SplineSegment::valueAt(double w) const {
  return cubicBezier(w, from_, from_ + startTangent_ / 3.0, to_ - endTangent_ / 3.0, to_);
}

}  // namespace Effect
