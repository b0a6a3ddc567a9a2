#pragma once
// The object clipboard: independent copies of objects (their chains deep-copied) that can
// be pasted any number of times into the current scene.
#include <memory>
#include <vector>

#include "edit/object_range.h"

namespace Edit {

class Object;

class ObjectClipboard {
 public:
  bool empty() const { return objects.empty(); }
  // Releases the copies.
  void clear();
  // Appends a copy: flags, layer, frames, boundaries, the group pointer and a deep copy of
  // the chain.
  void addCopy(const std::shared_ptr<Object>& object);

  // Pastes with the smallest layer on `layer` and the earliest start on `frame`, sliding
  // later in time until no object of the target layers is in the way. False (nothing
  // pasted) when the clipboard is empty or the paste does not fit the layer or frame range.
  bool pasteAt(int layer, int frame);
  // Whether the paste fits at these offsets; when an object is in the way the layer offset
  // goes one layer down and the answer is false. Callers repeat it until it answers true.
  bool canPasteAt(int frameOffset, int& layerOffset) const;
  // Pastes at the offsets in one edit-update scope and one undo step: a new object per
  // copy, each clipboard group becoming one new group. The whole paste is checked first;
  // false (nothing changed) when a copy would leave the layer or frame range or land on an
  // object.
  bool paste(int layerOffset, int frameOffset);

  std::vector<std::shared_ptr<Object>> objects;
  ObjectRange range;
};

}  // namespace Edit
