#pragma once
// The points a position track passes through when its link group is read as one point in
// space: the X, Y and Z items of a position are the three coordinates of each point.
//
// For a track at position j of a group of s members, the first partner is the member at
// (j + 1) mod s and the second the member at (j + 2) mod s. A partner counts only when it
// moves the same way (the same kind and the same flags), otherwise the track stands in its
// place; without a group both partners are the track. A group of two therefore counts the
// track's own difference twice in every distance: the same as the lengths its partner
// measures, so the two coordinates still travel in step.
#include "system/interpolation.h"

namespace Effect {

class EffectItemNumber;

using Point3D = System::Point3D;

class LinkedPoints {
 public:
  // Borrows the track and its partners for the length of one value computation.
  explicit LinkedPoints(const EffectItemNumber& track);

  // The point at a point index: each member's display value there (indices clamped to the
  // member's values; a member without values throws "item value index out of range.").
  // The track's own coordinate is x.
  Point3D at(int index) const;
  // The track's place in its link group; 0 without a group (or when the group does not
  // hold it).
  int groupPosition() const { return groupPosition_; }

 private:
  const EffectItemNumber* own_;
  const EffectItemNumber* first_;
  const EffectItemNumber* second_;
  int groupPosition_ = 0;
};

inline Point3D operator-(const Point3D& a, const Point3D& b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}

// The Euclidean length of the step from a to b.
double distance(const Point3D& a, const Point3D& b);

// The point that continues the path beyond `end` as a phantom neighbour:
// (5/3)·end - next + (1/3)·far, where `next` is the point beside `end` and `far` the one
// after it. A spline through it leaves `end` with the curvature of its neighbours instead
// of at rest.
Point3D extrapolatedEnd(const Point3D& end, const Point3D& next, const Point3D& far);

}  // namespace Effect
