#include "builtin/movement/linked_points.h"

#include <cmath>
#include <cstddef>

namespace Effect {

namespace {

// A partner moves with the track only when it follows the same kind with the same options.
const EffectItemNumber* partnerOr(const EffectItemNumber* partner, const EffectItemNumber& track) {
  if (!partner || partner->movement != track.movement || partner->flags != track.flags)
    return &track;
  return partner;
}

}  // namespace

LinkedPoints::LinkedPoints(const EffectItemNumber& track) : LinkedPoints(resolve(track)) {}

LinkedPoints LinkedPoints::resolve(const EffectItemNumber& track) {
  const NumberItemList* group = track.linkGroup;
  if (group) {
    const std::size_t size = group->size();
    for (std::size_t j = 0; j < size; ++j) {
      if ((*group)[j] != &track) continue;
      return LinkedPoints(track, *partnerOr((*group)[(j + 1) % size], track),
                          *partnerOr((*group)[(j + 2) % size], track), static_cast<int>(j));
    }
  }
  return LinkedPoints(track, track, track, 0);
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
