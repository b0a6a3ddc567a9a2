#pragma once
// A group of objects that are selected, split and pasted together. The members are plain
// pointers; each member holds the group by a shared pointer, so a group lives as long as
// one member (or an undo item) refers to it. An object leaves its group's member set when it
// leaves the group or is destroyed, so the set never holds a dangling pointer.
#include <memory>
#include <unordered_set>
#include <vector>

namespace Edit {

class Object;
class Scene;

class Group {
 public:
  // The members that stand on the scene's timeline, by layer and then by start frame: each
  // one as its layer lists it. Removed members (layer -1) and members the scene's layers do
  // not hold are left out; no group gives none.
  static std::vector<std::shared_ptr<Object>> getObjects(const std::shared_ptr<Group>& group,
                                                         const Scene& scene);

  std::unordered_set<Object*> members;
};

}  // namespace Edit
