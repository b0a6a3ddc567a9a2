#include "ui/controls/edit_focus_group.h"

namespace Control {

EditFocusGroup::~EditFocusGroup() {
  if (focusGroup) focusGroup->clear();
}

void EditFocusGroup::joinGroup(std::shared_ptr<Members> members) {
  focusGroup = std::move(members);
  if (focusGroup) focusGroup->push_back(this);
}

}  // namespace Control
