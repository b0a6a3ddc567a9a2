#pragma once
// A group of objects that are selected, split and pasted together. The members are plain
// pointers; each member holds the group by a shared pointer, so a group lives as long as
// one member (or an undo item) refers to it. An object leaves its group's member set when it
// leaves the group or is destroyed, so the set never holds a dangling pointer.
#include <unordered_set>

namespace Edit {

class Object;

class Group {
 public:
  std::unordered_set<Object*> members;
};

}  // namespace Edit
