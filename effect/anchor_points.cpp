#include "effect/anchor_points.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "effect/anchor_list.h"
#include "effect/movement_base.h"

namespace Effect {

int anchorPointFrame(const ObjectFrames& frames, int point) {
  const int midpoints = static_cast<int>(frames.midpoints.size());
  if (point <= 0) return frames.start;
  if (point <= midpoints) return frames.start + frames.midpoints[static_cast<std::size_t>(point - 1)];
  return frames.end;
}

int anchorPointAtFrame(const ObjectFrames& frames, int frame) {
  const int midpoints = static_cast<int>(frames.midpoints.size());
  if (frame == frames.end) return midpoints + 1;
  if (frame == frames.start) return 0;
  for (int k = 0; k < midpoints; ++k)
    if (frame == frames.start + frames.midpoints[static_cast<std::size_t>(k)]) return k + 1;
  return Anchor::kCurrentPositionId;
}

int anchorValueIndex(const EffectItemNumber& item, int midpointCount, int point) {
  const std::size_t count = item.values.size();
  if (count == 0) return -1;
  if (count == 1 || point <= 0) return 0;
  if (point > midpointCount) return static_cast<int>(count - 1);
  if (count == static_cast<std::size_t>(midpointCount) + 2) return point;
  return -1;
}

bool isItemMoving(const EffectItemNumber& item) { return item.values.size() >= 2; }

bool anyItemMoves(const NumberItemList& items) {
  return std::any_of(items.begin(), items.end(),
                     [](const EffectItemNumber* item) { return isItemMoving(*item); });
}

bool pointValuesAgree(const NumberItemList& items, int midpointCount, int point) {
  if (point < 1 || point > midpointCount) return true;
  std::size_t largest = 0;
  for (const EffectItemNumber* item : items) largest = std::max(largest, item->values.size());
  return largest < 2 || largest == static_cast<std::size_t>(midpointCount) + 2;
}

std::optional<std::vector<int>> pointValueIndices(const NumberItemList& items,
                                                  int midpointCount, int point) {
  std::vector<int> indices;
  indices.reserve(items.size());
  for (const EffectItemNumber* item : items) {
    const int index = anchorValueIndex(*item, midpointCount, point);
    if (index < 0) return std::nullopt;
    indices.push_back(index);
  }
  return indices;
}

bool anyEndValueAt(const NumberItemList& items, int point) {
  return std::any_of(items.begin(), items.end(), [point](const EffectItemNumber* item) {
    return item->movement->hasEndValue(*item, point);
  });
}

bool allHandlesAtPoints(const NumberItemList& items) {
  return std::all_of(items.begin(), items.end(),
                     [](const EffectItemNumber* item) { return item->movement->midpointAnchors; });
}

bool isAnchorEditable(const NumberItemList& items, const EffectContext& context) {
  std::size_t largest = 0;
  for (const EffectItemNumber* item : items) largest = std::max(largest, item->values.size());
  if (!context.object) return largest < 2;
  const ObjectFrames& frames = context.objectFrames;
  const int point = anchorPointAtFrame(frames, context.frame);
  if (point == Anchor::kCurrentPositionId) return largest < 2;
  const std::size_t midpoints = frames.midpoints.size();
  if (point == 0 || static_cast<std::size_t>(point) == midpoints + 1) return true;
  return largest <= 1 || largest == midpoints + 2;
}

void setContextTime(EffectContext& context, double time) {
  // An instant that is not a frame number at all is taken as the object's start, and one
  // beyond the range of frames as the nearest frame, so that the frame stays defined.
  if (!std::isfinite(time)) time = context.objectFrames.start;
  time = std::clamp(time, static_cast<double>(std::numeric_limits<int>::min()),
                    static_cast<double>(std::numeric_limits<int>::max()));
  context.time = time;
  context.frame = static_cast<int>(time);
  context.frameOffset = 0;
  if (context.object)
    context.sectionPosition =
        SectionPosition::calculate(context.objectFrames, context.frame, context.time);
}

AnchorContextRestore::AnchorContextRestore(EffectContext& context)
    : context_(context),
      time_(context.time),
      x_(context.outputView.x),
      y_(context.outputView.y),
      z_(context.outputView.z) {}

AnchorContextRestore::~AnchorContextRestore() {
  setContextTime(context_, time_);
  context_.outputView.x = x_;
  context_.outputView.y = y_;
  context_.outputView.z = z_;
}

}  // namespace Effect
