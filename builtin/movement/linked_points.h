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
#include <cmath>
#include <cstdint>

#include "effect/effect_item_number.h"
#include "system/interpolation.h"

namespace Effect {

using Point3D = System::Point3D;

class LinkedPoints {
 public:
  // Borrows the track and its partners for the length of one value computation.
  explicit LinkedPoints(const EffectItemNumber& track);

  // The point at a point index: each member's display value there (indices clamped to the
  // member's values; a member without values throws "item value index out of range.").
  // The track's own coordinate is x. Read inline: the time-controlled kinds measure their
  // whole path on every value.
  Point3D at(int index) const { return {own_.at(index), first_.at(index), second_.at(index)}; }
  // The distance from P(index) to P(index + 1). The differences are taken in step units
  // and scaled by multiplication, as the path lengths are measured on every value.
  double stepLength(int index) const {
    const double dx = own_.stepDelta(index);
    const double dy = first_.stepDelta(index);
    const double dz = second_.stepDelta(index);
    return std::sqrt(dx * dx + dy * dy + dz * dz);
  }
  // The track's place in its link group; 0 without a group (or when the group does not
  // hold it).
  int groupPosition() const { return groupPosition_; }

 private:
  // One member's values as the track's getDisplayValue reads them.
  class Member {
   public:
    explicit Member(const EffectItemNumber& track)
        : track_(&track),
          values_(track.values.data()),
          last_(static_cast<int>(track.values.size()) - 1),
          scale_(track.scale),
          inverseScale_(1.0 / track.scale) {}
    double at(int index) const { return value(index) / scale_; }
    // The display difference from the value at `index` to the next.
    double stepDelta(int index) const {
      const int64_t from = value(index);
      return static_cast<double>(value(index < INT32_MAX ? index + 1 : index) - from) *
             inverseScale_;
    }

   private:
    int value(int index) const {
      if (last_ < 0) track_->clampValueIndex(index);  // throws: no values
      return values_[index <= 0 ? 0 : index >= last_ ? last_ : index];
    }

    const EffectItemNumber* track_;
    const int* values_;
    int last_;
    double scale_;
    double inverseScale_;
  };

  LinkedPoints(const EffectItemNumber& track, const EffectItemNumber& first,
               const EffectItemNumber& second, int groupPosition)
      : own_(track), first_(first), second_(second), groupPosition_(groupPosition) {}
  static LinkedPoints resolve(const EffectItemNumber& track);

  Member own_;
  Member first_;
  Member second_;
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
