#pragma once
// A scene's layer table: one slot per layer, grown on demand up to kLayerLimit layers, with
// the two summary values the timeline and the renderers read (last used layer, last frame).
//
// These are mechanical model operations. They take no lock, record no undo and fire no
// events; commands call them inside an edit-update scope, whose close runs `update`.
//
// Outside values are checked here: a layer index outside 0 .. kLayerLimit - 1 or a frame
// range outside 0 .. kMaxFrame is refused with an exception before anything changes, and a
// new object never overlaps another object of its layer. Lookups outside the table never
// fail: they give the read-only empty slot.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "edit/layer_objects.h"
#include "edit/object_range.h"

namespace System {
class File;
class IniFile;
}  // namespace System

namespace Edit {

class GroupTable;
class Object;
class Scene;

class LayerObjectManager {
 public:
  using ObjectList = std::vector<std::shared_ptr<Object>>;
  // start, end, exact: the control covers start .. end and reaches exactly the asked layer.
  using LayerRangeCallback = std::function<void(int32_t start, int32_t end, bool exact)>;

  // One empty slot.
  LayerObjectManager();
  LayerObjectManager(const LayerObjectManager&) = delete;
  LayerObjectManager& operator=(const LayerObjectManager&) = delete;
  ~LayerObjectManager();

  // Purges, sorts and rebuilds the range tables of every dirty slot, then the last used
  // layer and the last frame.
  void update();

  // The index of the last layer that holds an object and the largest end frame; 0 when
  // the scene is empty. Valid after `update`.
  int32_t lastUsedLayer() const { return lastUsedLayer_; }
  int32_t lastFrame() const { return lastFrame_; }

  int32_t layerCount() const { return static_cast<int32_t>(layers_.size()); }
  // Whether an object stands on a layer of the table (also one that lies at frame 0 only,
  // which leaves the last frame at 0). Objects that left a layer do not count.
  bool holdsObjects() const;
  // Calls back for every object that stands on a layer of the table, layer by layer.
  void forEachObject(const std::function<void(Object&)>& callback) const;
  // The slot, or the read-only empty slot for an index outside the table.
  const LayerObjects& getLayerObjects(int layer) const;
  // The slot for changing it, or null for an index outside the table.
  LayerObjects* editLayerObjects(int layer);
  // Appends fresh slots until the index exists. Throws "layer index out of range." for an
  // index outside 0 .. kLayerLimit - 1.
  LayerObjects& ensureLayer(int layer);

  // Inserts a layer at `position`: the empty slot after the last used layer moves there
  // (the layers from `position` on move one down) and takes `record`, or a fresh record.
  // Returns the slot's record. Throws "layer index out of range." when `position` is
  // outside the limit or the last layer would be pushed past it.
  std::shared_ptr<Layer> insertLayer(int position, std::shared_ptr<Layer> record);
  // Takes every object of the layer off the scene (layer -1), moves the emptied slot to the
  // last used layer (the layers in between move one up) and gives it a fresh record, which
  // is returned. Throws "layer index out of range." outside the limit.
  std::shared_ptr<Layer> deleteLayer(int layer);
  // Moves a slot by neighbour swaps, with its record, range table and objects (their layer
  // fields follow). False (nothing done) when from equals to or either is outside the table.
  bool moveLayer(int from, int to);
  // Takes every object off the scene and leaves one fresh slot.
  void clear();

  // Whether an object could lie on `layer` from `start` to `end`: a valid layer and frame
  // range and no other object of that layer (but `ignore`) sharing a frame.
  bool canPlaceObject(int64_t layer, int64_t start, int64_t end, const Object* ignore) const;

  // A new object with the named effect, on the layer from start to end. The layer, frames
  // and place are checked as for createEmptyObject; when the registry cannot set the effect
  // the object is taken out again and the registry's exception goes on.
  std::shared_ptr<Object> createObject(std::string_view effectName, int layer, int start, int end);
  // A new object without effects, appended to the layer. Throws "layer index out of range.",
  // "frame out of range." (start and end must satisfy 0 <= start <= end <= kMaxFrame) or
  // "object overlaps another object." and then changes nothing.
  std::shared_ptr<Object> createEmptyObject(int layer, int start, int end);
  // Puts the object on another layer: the old slot lists it until `update`. Frames are not
  // checked against the new layer's objects: undo replays moves whose in-between states may
  // overlap, and commands check the place first (canPlaceObject). Throws "layer index out of
  // range." for a layer outside the limit.
  void moveObjectToLayer(const std::shared_ptr<Object>& object, int layer);
  // Sets the length of an object without boundaries (at least one frame), cutting or
  // growing at its start or its end; growth stops at the neighbouring object and at the
  // frame range. An object with boundaries is left alone.
  void resizeObject(Object& object, int length, bool atStart);
  // Stretches an object to `length` frames (not past the next object), scaling its
  // boundaries: each stays at least one frame after the previous one and they all fit
  // inside the new length, so an object with n boundaries keeps at least n + 2 frames and
  // one without boundaries at least two.
  void scaleObjectLength(Object& object, int length);

  // Calls back, for every control object on the layers above `layer` that governs it
  // (its layer plus its span reaches the layer) and touches from .. to, its frames and
  // whether it reaches the layer exactly.
  void forEachLayerRange(int layer, int from, int to, const LayerRangeCallback& callback) const;
  // The range of the objects (all zero and no layers for an empty list).
  static void getObjectRange(ObjectRange& out, const ObjectList& objects);

  // Dirty flags of the slot that lists the object now (nothing when its layer lies outside
  // the table): the sort flag after its frames changed, the purge flag once it left; a
  // control object's slot also rebuilds its range table.
  void markSort(const Object& object);
  void markPurge(const Object& object);
  void markRange(const Object& object);
  // Takes the object off the scene: purge flag on its slot, layer -1.
  void removeObject(Object& object);

  // The project file's object section [sectionName]: its keys, then its effect sections.
  static void saveObject(System::File& file, int32_t sceneId, const std::string& sectionName,
                         const Object& object, GroupTable& groups, const Object* focusObject);
  // Makes one object from the object section `section` on the scene. Throws "not enough
  // frame number list." or "invalid frame number list." for a bad frame list, the layer
  // table's errors for a layer or place the object cannot take (an overlap among them), and
  // what the effect sections throw; the half-made object is then taken off again.
  static std::shared_ptr<Object> loadObjectIniFile(Scene& scene, const System::IniFile& file,
                                                   const std::string& section, GroupTable& groups);

  // Alias files (alias_file.cpp). Each makes a new object on the scene at `layer` from
  // `frame`: moved behind any object that covers the frame (keeping its length) and cut
  // before the next one. loadObjectAliasFile reads an object alias ([Object] with its
  // effect sections); its length comes from the file's frame list, or reaches `defaultEnd`
  // without one. loadObjectAliasFileEffect makes a filter or media object from an effect
  // alias ([Effect.0], [Effect.1] ...) reaching `defaultEnd`. On a failure the new object
  // is taken off the scene again and the exception goes on.
  static std::shared_ptr<Object> loadObjectAliasFile(Scene& scene, const System::IniFile& file,
                                                     int layer, int frame, int defaultEnd);
  static std::shared_ptr<Object> loadObjectAliasFileEffect(Scene& scene,
                                                           const System::IniFile& file,
                                                           int layer, int frame, int defaultEnd);

  // Legacy object files (legacy_object_file.cpp): makes one object from the object section
  // `section` (1-based "layer", "start" and "end", "group", then the effect sections). Throws
  // "layer index out of range." for a layer below 1 or past the limit, "invalid frame number
  // list." for frames out of range or an end before the start, the layer table's errors
  // (an overlap among them) and what the effects throw; the half-made object is taken off
  // again then.
  static std::shared_ptr<Object> loadObjectKvoFile(Scene& scene, const System::IniFile& file,
                                                   const std::string& section,
                                                   GroupTable& groups);

 private:
  // The neighbours of an object on its layer: the nearest objects before and after it.
  void findNeighbours(const Object& object, const Object*& previous, const Object*& next) const;

  int32_t lastUsedLayer_ = 0;
  int32_t lastFrame_ = 0;
  std::vector<std::unique_ptr<LayerObjects>> layers_;
};

}  // namespace Edit
