#include "main_window/timeline/object_drag_limits.h"

#include <algorithm>
#include <memory>

#include "edit/edit_limits.h"

namespace Component::Timeline {
namespace {

// An object that blocks a drag: still on the slot's layer and not dragged itself.
bool blocks(const Edit::Object& object, int32_t layer) {
  return !object.selected && object.layer == layer;
}

}  // namespace

bool limitRightMove(const Edit::LayerObjects& slot, int64_t movedStart, int64_t movedEnd,
                    int64_t spanEnd, int32_t& delta, const Edit::Object* self) {
  const int32_t layer = slot.layer ? slot.layer->index : -1;
  for (std::size_t i = Edit::lowerBoundObjectEnd(slot, movedStart); i < slot.objects.size();
       ++i) {
    const Edit::Object& object = *slot.objects[i];
    if (object.start > movedEnd) break;
    if (&object == self || !blocks(object, layer) || object.end < movedStart) continue;
    delta = static_cast<int32_t>(std::max<int64_t>(object.start - 1 - spanEnd, 0));
    return true;
  }
  return false;
}

bool limitLeftMove(const Edit::LayerObjects& slot, int64_t movedStart, int64_t movedEnd,
                   int64_t spanStart, int32_t& delta, const Edit::Object* self) {
  const int32_t layer = slot.layer ? slot.layer->index : -1;
  for (std::size_t i = Edit::upperBoundObjectStart(slot, movedEnd); i-- > 0;) {
    const Edit::Object& object = *slot.objects[i];
    if (object.end < movedStart) break;
    if (&object == self || !blocks(object, layer)) continue;
    delta = static_cast<int32_t>(std::min<int64_t>(object.end + 1 - spanStart, 0));
    return true;
  }
  return false;
}

bool limitSelectionMove(const Edit::Scene& scene, const SelectionDrag& drag, int32_t& layers,
                        int32_t& frames) {
  const Edit::ObjectRange& extent = *drag.extent;
  if (extent.layers.empty()) return false;
  const int32_t lowest = extent.minLayer + drag.layerOffset;
  const int32_t highest = extent.maxLayer + drag.layerOffset;
  layers = std::clamp(layers, -lowest, std::max(drag.layerRange - 1 - highest, -lowest));
  const int32_t requestedFrames = frames;
  while (layers != 0 || frames != 0) {
    bool failed = false;
    for (const auto& [layer, span] : extent.layers) {
      const int32_t target = layer + drag.layerOffset + layers;
      const int64_t start = static_cast<int64_t>(span.first) + drag.frameOffset;
      const int64_t end = static_cast<int64_t>(span.second) + drag.frameOffset;
      const Edit::LayerObjects& slot = scene.getLayerObjects(target);
      if (frames > 0) {
        failed = end + frames > Edit::kMaxFrame
                     ? (frames = static_cast<int32_t>(Edit::kMaxFrame - end), true)
                     : limitRightMove(slot, start + frames, end + frames, end, frames);
      } else if (frames < 0) {
        if (start + frames < 0) {
          frames = static_cast<int32_t>(-start);
          failed = true;
        } else {
          failed = limitLeftMove(slot, start + frames, end + frames, start, frames);
        }
      } else if (limitRightMove(slot, start, end, end, frames)) {
        layers += layers > 0 ? -1 : 1;
        frames = requestedFrames;
        failed = true;
      }
      if (failed) break;
    }
    if (!failed) return true;
  }
  return false;
}

int32_t limitStartChange(const Edit::Scene& scene, const Edit::Object& object, int32_t delta) {
  if (delta < 0) {
    const int64_t movedStart = static_cast<int64_t>(object.start) + delta;
    if (movedStart < 0)
      delta = -object.start;
    else
      limitLeftMove(scene.getLayerObjects(object.layer), movedStart, object.end, object.start,
                    delta, &object);
  }
  const int64_t firstBoundary =
      object.boundaries.empty() ? static_cast<int64_t>(object.end) + 1
                                : static_cast<int64_t>(object.start) + object.boundaries.front();
  const int64_t newStart =
      std::clamp<int64_t>(static_cast<int64_t>(object.start) + delta, 0, firstBoundary - 1);
  return static_cast<int32_t>(newStart - object.start);
}

int32_t limitEndChange(const Edit::Scene& scene, const Edit::Object& object, int32_t delta) {
  const int32_t lowest =
      object.boundaries.empty()
          ? object.start - object.end
          : std::min(1 - (object.end - object.start - object.boundaries.back()), 0);
  delta = std::max(delta, lowest);
  if (delta > 0) {
    delta = static_cast<int32_t>(
        std::min<int64_t>(delta, static_cast<int64_t>(Edit::kMaxFrame) - object.end));
    limitRightMove(scene.getLayerObjects(object.layer), object.start,
                   static_cast<int64_t>(object.end) + delta, object.end, delta, &object);
  }
  return delta;
}

int32_t limitMidpointChange(const Edit::Object& object, int32_t index, int32_t delta) {
  const int32_t count = static_cast<int32_t>(object.boundaries.size());
  if (index < 1 || index > count) return 0;
  const auto boundary = [&](int32_t k) -> int64_t {
    return static_cast<int64_t>(object.start) + object.boundaries[static_cast<std::size_t>(k - 1)];
  };
  const int64_t previous = index == 1 ? object.start : boundary(index - 1);
  const int64_t next = index == count ? object.end : boundary(index + 1);
  const int64_t current = boundary(index);
  if (next - 1 < previous + 1) return 0;  // no room: a section of a single frame
  const int64_t moved = std::clamp<int64_t>(current + delta, previous + 1, next - 1);
  return static_cast<int32_t>(moved - current);
}

}  // namespace Component::Timeline
