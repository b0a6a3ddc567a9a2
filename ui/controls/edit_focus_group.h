#pragma once
// The Tab order of text fields: the fields of one group share a member list, and Tab moves
// the keyboard focus to the next member that can take it. A member that goes away ends the
// group for all of them (the list is emptied), so no member is left pointing at it.
#include <memory>
#include <vector>

namespace Control {

class EditFocusGroup {
 public:
  using Members = std::vector<EditFocusGroup*>;

  EditFocusGroup() = default;
  EditFocusGroup(const EditFocusGroup&) = delete;
  EditFocusGroup& operator=(const EditFocusGroup&) = delete;
  virtual ~EditFocusGroup();

  virtual void setFocus(bool on) = 0;
  virtual bool canFocus() = 0;

  // Joins the list (leaving any earlier one) as its last member.
  void joinGroup(std::shared_ptr<Members> members);

  std::shared_ptr<Members> focusGroup;
};

}  // namespace Control
