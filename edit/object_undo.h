#pragma once
// The undo states of an object: what each kind captures, when a change counts, and what a
// replay puts back and asks of its edit-update scope. Each is the Op of an
// Undo::UndoItemTemplate<Edit::Object, Op>.
#include <cstdint>
#include <memory>
#include <vector>

#include "edit/effect_manager.h"
#include "edit/undo_item.h"

namespace Edit {

class Group;
class Object;
class UpdateSection;

// Layer and frames, and the boundaries when the object has any (a length change may scale
// them).
struct ObjectUndoUpdate {
  int32_t layer = -1;
  int32_t start = 0;
  int32_t end = 0;
  std::unique_ptr<std::vector<int32_t>> boundaries;

  static void capture(Object& object, ObjectUndoUpdate& state);
  static bool compare(ObjectUndoUpdate& before, ObjectUndoUpdate& after);
  static void restore(const std::shared_ptr<Object>& object, const ObjectUndoUpdate& state,
                      UpdateSection& scope);
};

// Whether the object is in the scene: its layer, -1 when it is not.
struct ObjectUndoCreateDelete {
  int32_t layer = -1;

  static void capture(Object& object, ObjectUndoCreateDelete& state);
  static bool compare(ObjectUndoCreateDelete& before, ObjectUndoCreateDelete& after);
  static void restore(const std::shared_ptr<Object>& object, const ObjectUndoCreateDelete& state,
                      UpdateSection& scope);
};

// The boundaries (the values of the effects are recorded beside it, one effect update each).
struct ObjectUndoSection {
  std::vector<int32_t> boundaries;

  static void capture(Object& object, ObjectUndoSection& state);
  static bool compare(ObjectUndoSection& before, ObjectUndoSection& after);
  static void restore(const std::shared_ptr<Object>& object, const ObjectUndoSection& state,
                      UpdateSection& scope);
};

struct ObjectUndoGroup {
  std::shared_ptr<Group> group;

  static void capture(Object& object, ObjectUndoGroup& state);
  static bool compare(ObjectUndoGroup& before, ObjectUndoGroup& after);
  static void restore(const std::shared_ptr<Object>& object, const ObjectUndoGroup& state,
                      UpdateSection& scope);
};

// The chain itself: the same effect instances, shared, never copied; with the control flag
// that belongs to it.
struct ObjectUndoEffect {
  EffectManager::EffectList effects;
  bool controlFlag = false;

  static void capture(Object& object, ObjectUndoEffect& state);
  static bool compare(ObjectUndoEffect& before, ObjectUndoEffect& after);
  static void restore(const std::shared_ptr<Object>& object, const ObjectUndoEffect& state,
                      UpdateSection& scope);
};

struct ObjectUndoFlag {
  uint8_t clipping = 0;
  uint8_t camera = 1;

  static void capture(Object& object, ObjectUndoFlag& state);
  static bool compare(ObjectUndoFlag& before, ObjectUndoFlag& after);
  static void restore(const std::shared_ptr<Object>& object, const ObjectUndoFlag& state,
                      UpdateSection& scope);
};

// The layer range of a control object's first effect.
struct ObjectUndoLayerRange {
  int32_t value = 0;

  static void capture(Object& object, ObjectUndoLayerRange& state);
  static bool compare(ObjectUndoLayerRange& before, ObjectUndoLayerRange& after);
  static void restore(const std::shared_ptr<Object>& object, const ObjectUndoLayerRange& state,
                      UpdateSection& scope);
};

}  // namespace Edit
