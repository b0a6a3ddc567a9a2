#pragma once
// One section of the smooth path the interpolating kinds draw through their points.
//
// The section runs from P(k) to P(k+1); its neighbours P(k-1) and P(k+2) bend it. The
// tangent at each end weighs the two chords that meet there by the length of the other
// one, so a short chord beside a long one does not make the path overshoot. Where a
// neighbour is missing (before the first point, after the last) it is either the end point
// itself, which brings the path to rest there, or a phantom point that continues the
// curvature of the neighbours.
#include "builtin/movement/linked_points.h"

namespace Effect {

class SplineSegment {
 public:
  // The least chord sum a tangent is divided by: points that coincide give no tangent
  // instead of a division by zero.
  static constexpr double kLeastChordSum = 0.0001;

  // Section k of `sectionCount` of the points. `extrapolateStart`: in the first section the
  // point before P(0) is the phantom (5/3)·P(0) - P(1) + (1/3)·P(2), else P(0) itself.
  // `extrapolateEnd`: in the last section the point after P(k+1) is the phantom
  // (5/3)·P(k+1) - P(k) + (1/3)·P(k-1) (with the stored P(k-1)), else P(k+1) itself.
  SplineSegment(const LinkedPoints& points, int section, int sectionCount, bool extrapolateStart,
                bool extrapolateEnd);

  // The chord lengths around the section: from the point before to P(k), the section's
  // own, and from P(k+1) to the point after.
  double before() const { return before_; }
  double span() const { return span_; }
  double after() const { return after_; }

  // The track's own coordinate at the curve parameter w (0 at P(k), 1 at P(k+1); not
  // clamped).
  double valueAt(double w) const;

 private:
  double from_ = 0.0;
  double to_ = 0.0;
  double startTangent_ = 0.0;
  double endTangent_ = 0.0;
  double before_ = 0.0;
  double span_ = 0.0;
  double after_ = 0.0;
};

}  // namespace Effect
