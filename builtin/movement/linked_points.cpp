#include "builtin/movement/linked_points.h"

#include <cmath>
#include <cstddef>

#include "effect/effect_item_number.h"

namespace Effect {

namespace {

// A partner moves with the track only when it follows the same kind with the same options.
const EffectItemNumber* partnerOr(const EffectItemNumber* partner, const EffectItemNumber& track) {
  if (!partner || partner->movement != track.movement || partner->flags != track.flags)
    return &track;
  return partner;
}

}  // namespace

LinkedPoints::LinkedPoints(const EffectItemNumber& track)
    : own_(&track), first_(&track), second_(&track) {
  const NumberItemList* group = track.linkGroup;
  if (!group) return;
  const std::size_t size = group->size();
  for (std::size_t j = 0; j < size; ++j) {
    if ((*group)[j] != &track) continue;
    groupPosition_ = static_cast<int>(j);
    first_ = partnerOr((*group)[(j + 1) % size], track);
    second_ = partnerOr((*group)[(j + 2) % size], track);
    return;
  }
}

Point3D LinkedPoints::at(int index) const {
  return {own_->getDisplayValue(index), first_->getDisplayValue(index),
          second_->getDisplayValue(index)};
}

double distance(const Point3D& a, const Point3D& b) {
  const Point3D d = b - a;
  return std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
}

Point3D extrapolatedEnd(const Point3D& end, const Point3D& next, const Point3D& far) {
  const auto component = [](double e, double n, double f) {
    return (5.0 / 3.0) * e - n + (1.0 / 3.0) * f;
  };
  return {component(end.x, next.x, far.x), component(end.y, next.y, far.y),
          component(end.z, next.z, far.z)};
}

}  // namespace Effect
