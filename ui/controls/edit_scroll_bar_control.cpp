#include "ui/controls/edit_scroll_bar_control.h"

#include <algorithm>
#include <cmath>

#include "ui/controls/control_paint.h"

namespace Control {

EditScrollBarControl::EditScrollBarControl(Window::WindowControl& parent, EditControl& edit,
                                           int32_t x, int32_t width)
    : ScrollBarControl(parent, x, 0, width, 0), edit_(edit) {
  edit_.scrollBar = this;
  step = 2 * static_cast<int32_t>(std::ceil(Resource::TextFormat::getLineHeight(*edit_.font)));
  edit_.scrollCallback = [this](EditControl&) { updateRange(); };
  scrollCallback = [this](ScrollBarControl&, int32_t newStart) {
    edit_.scrollY = newStart;
    repaint(edit_);
    updateRange();
  };
  updateRange();
}

EditScrollBarControl::~EditScrollBarControl() {
  // The edit may outlive its bar: it must not call it any more.
  if (edit_.scrollBar == this) {
    edit_.scrollBar = nullptr;
    edit_.scrollCallback = nullptr;
  }
}

void EditScrollBarControl::updateRange() {
  const int32_t inner = edit_.innerHeight();
  const int32_t total = inner > 0 ? edit_.marginY() + edit_.textHeight : 0;
  minimum = std::min(total, 0);
  maximum = std::max(total, 0);
  setViewRange(viewStart, viewEnd);
  setViewRange(edit_.scrollY, edit_.scrollY + inner);
  repaint(*this);
}

}  // namespace Control
