#pragma once
// The group numbers of one project file save or load. Groups are not numbered in memory:
// a save numbers them from 1 in writing order, a load makes one group per number it meets.
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "edit/group.h"

namespace Edit {

class GroupTable {
 public:
  // Saving: the group's number, given the next one the first time it is asked for.
  int32_t numberOf(const Group* group) {
    const auto [entry, inserted] = numbers_.try_emplace(group, next_);
    if (inserted) ++next_;
    return entry->second;
  }
  // Loading: the group of that number, made the first time it is asked for.
  std::shared_ptr<Group> groupOf(int32_t number) {
    auto& group = groups_[number];
    if (!group) group = std::make_shared<Group>();
    return group;
  }

 private:
  std::unordered_map<const Group*, int32_t> numbers_;
  std::unordered_map<int32_t, std::shared_ptr<Group>> groups_;
  int32_t next_ = 1;
};

}  // namespace Edit
