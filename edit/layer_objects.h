#pragma once
// One slot of a scene's layer table: the layer's objects, its settings record and the
// table of the control objects on it.
//
// After the edit-update scope that changed them has closed, the objects are sorted by
// start frame and, since they never overlap, by end frame too: every frame lookup is a
// binary search. Inside a scope the slot may be stale: three dirty flags defer the work to
// the scope's close (Edit::LayerObjectManager::update).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "edit/layer.h"

namespace Edit {

class Object;

class LayerObjects {
 public:
  // A control object's reach: the frames it covers and how many layers below it governs.
  struct LayerRange {
    int32_t start = 0;
    int32_t end = 0;
    int32_t span = 0;
  };
  // The span of a control whose layer range is 0: every layer below it.
  static constexpr int32_t kAllLayersBelow = 1000000;

  explicit LayerObjects(int32_t index);
  LayerObjects(const LayerObjects&) = delete;
  LayerObjects& operator=(const LayerObjects&) = delete;

  // The slot that every lookup outside the table returns: index -1, no objects. It is
  // read-only, so nothing can ever be added to it.
  static const LayerObjects& empty();

  int32_t index() const { return layer->index; }

  // Gives the slot a fresh record with the slot's index; the old record gets index -1 (undo
  // items may keep it). Returns the new record.
  std::shared_ptr<Layer> resetLayer();

  // Whether an object of this layer (not `ignore`, not one that is leaving the slot)
  // shares a frame with start .. end.
  bool overlaps(int64_t start, int64_t end, const Object* ignore) const;
  bool contains(const Object* object) const;

  // Purges, sorts and rebuilds the range table as the flags ask, for the slot at `position`.
  void rebuild(int32_t position);

  // Sorted by start after the scope's close; objects that left (layer field differs) stay
  // listed until then.
  std::vector<std::shared_ptr<Object>> objects;
  bool sortFlag = false;   // an object was added or its frames changed
  bool purgeFlag = false;  // an object left this layer
  bool rangeFlag = false;  // a control object was added, removed or changed
  std::shared_ptr<Layer> layer;
  // The control objects of the layer in start order.
  std::vector<LayerRange> rangeTable;
};

// Searches over a slot's start-sorted objects (binary searches; they rely on the objects
// not overlapping). Both return objects.size() when there is no such object.
// The first object whose end frame is at or after the frame.
std::size_t lowerBoundObjectEnd(const LayerObjects& slot, int64_t frame);
// The first object whose start frame is after the frame.
std::size_t upperBoundObjectStart(const LayerObjects& slot, int64_t frame);
// Among the objects that touch from .. to, the one nearest to the middle (its nearer end
// counts); the first of equals wins. Empty when none touches.
std::shared_ptr<Object> findNearestObject(const LayerObjects& slot, int from, int to);

}  // namespace Edit
