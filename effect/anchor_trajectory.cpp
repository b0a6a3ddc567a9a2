// The path a moving position takes over its object, drawn as one polyline.
#include <algorithm>
#include <vector>

#include "effect/anchor_edit_access.h"
#include "effect/anchor_effect_base.h"
#include "effect/anchor_points.h"
#include "effect/movement_base.h"

namespace Effect {

namespace {

constexpr int kSamplesPerSection = 32;
constexpr int kSamplesWholeObject = 64;
constexpr int kDotEvery = 4;

bool isTrajectoryShown(const NumberItemList& items) {
  if (!anyItemMoves(items)) return false;
  return std::all_of(items.begin(), items.end(), [](const EffectItemNumber* item) {
    return item->movement->isTrajectoryVisible(*item);
  });
}

int sampleCount(const NumberItemList& items, int sectionCount) {
  const bool allIgnoreMidpoints =
      std::all_of(items.begin(), items.end(), [](const EffectItemNumber* item) {
        return (item->flags & EffectItemNumber::FlagIgnoreMidpoints) != 0;
      });
  return allIgnoreMidpoints ? kSamplesWholeObject : kSamplesPerSection * std::max(1, sectionCount);
}

}  // namespace

void AnchorEffectBase::setTrajectoryAnchor(EffectContext& context, const EffectEntry& entry) {
  if (!context.anchorList || !isTrajectoryShown(positionItems)) return;
  const ObjectFrames frames = context.objectFrames;
  const int midpoints = static_cast<int>(frames.midpoints.size());
  const int n = sampleCount(positionItems, context.sectionPosition.sectionCount);
  const bool dots = anchorEditAccess().getSettings().displayMovePoint;

  // The next midpoint the samples have not passed yet; past the last one the boundary lies
  // beyond the end, so no sample reaches it.
  int nextPoint = 1;
  const auto boundary = [&frames, midpoints](int point) -> double {
    if (point <= midpoints)
      return static_cast<double>(frames.start) + frames.midpoints[static_cast<std::size_t>(point - 1)];
    return static_cast<double>(frames.end) + 1.0;
  };
  const double step = static_cast<double>(frames.end - frames.start) / n;
  double t = frames.start;
  std::vector<XMath::Vector> points;
  points.reserve(static_cast<std::size_t>(n) + 1 + static_cast<std::size_t>(midpoints));
  for (int j = 0; j <= n; ++j) {
    const XMath::Vector p = getAnchorPosition(context, t);
    points.push_back(p);
    if (dots && j % kDotEvery == 0) context.anchorList->addDot(entry, p);
    t += step;
    // Every midpoint the step passed gets an exact sample, so the path bends where the
    // section changes; several close midpoints are all kept, in order.
    while (nextPoint <= midpoints && t >= boundary(nextPoint)) {
      points.push_back(getAnchorPosition(context, boundary(nextPoint)));
      ++nextPoint;
    }
  }
  context.anchorList->addPolyline(entry, points, std::nullopt);
}

}  // namespace Effect
