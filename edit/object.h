#pragma once
// An object on the timeline: a frame range on one layer, divided into sections by its
// midpoints, with its effect chain, group, clipping and camera flags.
//
// An object covers its start to its end frame, both included. Its midpoints (section
// boundaries) are frame offsets from the start, strictly increasing, so moving an object
// never touches them: n boundaries make n + 1 sections and n + 2 points (start, each
// boundary, end), and every number item that moves per point keeps one value per point.
// Every section is at least one frame long, except that an object without boundaries may be
// a single frame (distance 0).
//
// Objects are made with std::make_shared and never deleted by the model: removing one sets
// its layer to -1, and undo items, the clipboard or the focus keep it alive so that undo can
// put it back.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "edit/effect_manager.h"
#include "effect/section_position.h"
#include "system/ini_file.h"

namespace Effect {
struct EffectEventParam;
}
namespace System {
class File;
}

namespace Edit {

class Group;
class Scene;

class Object : public EffectManager, public std::enable_shared_from_this<Object> {
 public:
  Object() = default;
  Object(int32_t layer, int32_t start, int32_t end) : start(start), end(end), layer(layer) {}
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;
  // Leaves its group's member set.
  ~Object();

  int sectionCount() const { return static_cast<int>(boundaries.size()) + 1; }
  // The frames as the effect framework computes positions from them; the midpoints stay
  // valid while the object is neither changed nor destroyed.
  Effect::ObjectFrames frames() const { return {start, end, boundaries}; }
  int pointCount() const { return static_cast<int>(boundaries.size()) + 2; }
  // The first frame of a section: the start, or the start plus the boundary before it.
  int64_t sectionFirstFrame(int section) const;
  // Frames from a section's first point to its last: the first boundary for section 0 (end -
  // start without boundaries), the difference of two boundaries inside, and end - start minus
  // the last boundary for the last section.
  int64_t sectionDistance(int section) const;

  // The section that holds the frame: the number of boundaries at or before frame - start.
  // A frame on a boundary belongs to the section that starts there; frames before the start
  // give 0, frames after the end the last section.
  int findSection(int frame) const;
  // Whether the section holding the frame, or a later one, is long enough to take a
  // boundary (distance above 1).
  bool hasSplittableSection(int frame) const;
  // Whether the frame lies strictly inside its section, where a new boundary can go.
  bool canAddSectionAt(int frame) const;
  // Adds a boundary at the frame, or at the nearest place that can take one: one frame later
  // when the frame is a section's first frame, the next section with room when its own has
  // none; nothing when no section has room. Every per-point number item gets a value for the
  // new point: the recorded one when `values` holds one for the item, else its default.
  void addSection(int frame, const SectionValueMap* values);
  // Removes boundary `pointIndex` - 1 (the point's index among the object's points, 1 ..
  // boundary count; other values change nothing) and the per-point value at that point.
  // Throws "item value index out of range." (nothing changed) when a per-point number item
  // holds no values.
  void deleteSection(int pointIndex);
  // Splits at frame f (start < f <= end, else false and nothing done): `left` and `right`,
  // made by the caller, become copies of this object (frames, boundaries, flags, a deep copy
  // of the chain) cut to start .. f - 1 and f .. end, with the item values at the cut
  // written to their new end and start points. This object stays as it is.
  bool split(int frame, Object& left, Object& right, Scene& scene);

  // Leaves the group (the group forgets this member) and empties the group pointer.
  void removeFromGroup();
  // Leaves the current group and joins `newGroup` (none: stays ungrouped).
  void joinGroup(std::shared_ptr<Group> newGroup);

  // Takes an effect out of the chain. The first effect goes only when it and the next are
  // both filters (the next becomes the first); an input, a control effect or a lone filter
  // stays. Any other entry holding the effect is removed; an effect not in the chain changes
  // nothing.
  void removeEffect(const Effect::EffectBase* effect);
  // Whether the effect is in the chain, not last, and both it and the next are filters.
  bool canMoveEffectDown(const Effect::EffectBase* effect) const;
  // Swaps a filter with the filter before / after it; otherwise nothing. Filters never pass
  // an input, an output or a control effect.
  void moveEffectUp(const Effect::EffectBase* effect);
  void moveEffectDown(const Effect::EffectBase* effect);

  // The project file's object keys: "frame" (start, the first frame of every further
  // section, end), and "camera" / "clipping" when they differ from 1 / 0.
  void saveFrame(System::File& file) const;
  void saveCameraClipping(System::File& file) const;
  void loadCameraClipping(const System::IniFile::SectionRef& section);
  // One section [<sectionName>.E] per effect in chain order.
  void saveEffectSections(System::File& file, const std::string& sectionName) const;
  // Reads the effect sections <section>.0, .1 ... up to the first missing one into the
  // chain, each placed by its kind. Throws "no effect defined." when there is not even .0,
  // and what the registry or the chain throws for an unknown or misfitting effect.
  void loadEffectIniFile(const System::IniFile& file, const std::string& section);
  // Adds the effects of an effect alias file ([Effect.0], [Effect.1] ... up to the first
  // missing one) to the chain, each placed by its kind; added filters go directly behind
  // `afterEffect` when it is given, in the file's order. Throws "no effect defined." without
  // [Effect.0]; effects added before a failure stay (alias_file.cpp).
  void loadEffectAliasFile(const System::IniFile& file, const Effect::EffectBase* afterEffect);

  // The effects of a legacy object file's object section (legacy_object_file.cpp): its
  // "camera" flag, then <section>.0, .1 ... up to the first missing one, each named by
  // ProjectConvert::convertScriptName and read by Effect::EffectBase::loadKvoSectionParameter.
  // Throws "no effect defined." without <section>.0, "filter object not support" when the
  // first effect is a filter other than a camera light and "overlay" is 0, and what the
  // registry or the chain throws.
  void loadEffectKvoFile(const System::IniFile& file, const std::string& section);
  // Joins this object onto the end of `previous` as a further section: false (nothing
  // changed) unless both lie on the same layer and this one starts right after the other's
  // end, and when the joined object could not take the new midpoint. The previous object's
  // tracks end with this object's end values and pass its own old end values at the new
  // midpoint. The caller takes this object off the scene afterwards.
  bool mergeInto(Object& previous);

  // Hands an edit event to the chain's input effect, when the first effect is one; the
  // event is given this object and the effect.
  void sendInputEffectEvent(Effect::EffectEventParam& event);

  std::shared_ptr<Group> group;  // empty when not grouped
  int32_t start = 0;
  int32_t end = 0;  // included
  std::vector<int32_t> boundaries;
  int32_t layer = -1;    // -1 while the object is not in the scene
  uint8_t clipping = 0;  // 1: clips the object below it
  uint8_t camera = 1;    // 0: drawn outside the camera
  bool selected = false;

 protected:
  int chainSectionCount() const override { return sectionCount(); }
};

}  // namespace Edit
