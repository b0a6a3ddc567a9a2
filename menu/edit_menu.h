#pragma once
// The Edit menu: moving the cursor frame, cutting, copying, splitting and grouping the
// target objects, the picture copies, the frame range, the focus keys, undo and redo, and
// discarding the caches. Every item can be given a key; the usual ones come with theirs.
#include "menu/menu_base.h"

namespace Menu {

class EditMenu : public MenuBase {
 public:
  void initialize() override;
};

}  // namespace Menu
