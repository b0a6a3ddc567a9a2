#pragma once
// The vertical scroll bar of a multi-line edit: it follows the edit's scroll position and
// text height, scrolls the edit when dragged or clicked, and takes the edit's wheel while the
// edit has the focus.
#include <cstdint>

#include "ui/controls/edit_control.h"
#include "ui/controls/scroll_bar_control.h"

namespace Control {

class EditScrollBarControl : public ScrollBarControl {
 public:
  // A vertical bar at (x, 0), `width` wide and as tall as the parent, bound to `edit`.
  EditScrollBarControl(Window::WindowControl& parent, EditControl& edit, int32_t x,
                       int32_t width);
  ~EditScrollBarControl() override;

  // The range from the edit's text height and the view from its scroll position; repaints.
  void updateRange();

 private:
  EditControl& edit_;
};

}  // namespace Control
