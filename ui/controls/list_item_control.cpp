#include "ui/controls/list_item_control.h"

#include <algorithm>

#include "ui/controls/control_metrics.h"
#include "ui/controls/control_paint.h"
#include "ui/controls/inner_container.h"

namespace Control {

void ListItemBase::swapOrder(ListItemBase& other) {
  if (!canMove() || !other.canMove()) return;
  const int32_t mine = getSortKey();
  setSortKey(other.getSortKey());
  other.setSortKey(mine);
  ListItemControl& owner = *list;
  std::stable_sort(owner.items.begin(), owner.items.end(),
                   [](const std::unique_ptr<ListItemBase>& a,
                      const std::unique_ptr<ListItemBase>& b) {
                     return a->getSortKey() < b->getSortKey();
                   });
  owner.updateItemLayout();
  owner.procMove();
  repaint(owner);
}

ListItemControl::ListItemControl(Window::WindowControlContainer& container, int32_t y)
    : WindowControlRenderTarget(container, 0, y, 0, 0),
      barContainer(innerContainer(*this)),
      itemContainer(innerContainer(*this)),
      scrollBar(barContainer, -Metrics::scrollBarSize(), 0, Metrics::scrollBarSize()) {
  acceptsRightButton = true;
  acceptsWheel = true;
  scrollBar.setShown(false);
  scrollBar.scrollCallback = [this](ScrollBarControl&, int32_t newStart) {
    setScrollPosition(newStart);
    itemContainer.updateLayout();
    repaint(*this);
  };
  barContainer.updateLayout();
  itemContainer.updateLayout();
}

void ListItemControl::updateItemLayout() {
  contentHeight_ = 0;
  const int32_t width = scrollBar.visible ? -Metrics::scrollBarSize() : 0;
  for (const std::unique_ptr<ListItemBase>& item : items) {
    Window::WindowControl* control = item->control;
    if (!control) continue;
    const int32_t height = control->fullRect.height;
    control->layoutX = 0;
    control->layoutY = contentHeight_;
    control->layoutW = width;
    control->layoutH = height;
    control->updateLayout();
    control->procMove();
    contentHeight_ += height;
  }
}

void ListItemControl::setScrollPosition(int32_t position) {
  const int32_t visibleHeight = visibleRect.height;
  position = std::clamp(position, 0, std::max(0, contentHeight_ - visibleHeight));
  scrollBar.minimum = std::min(contentHeight_, 0);
  scrollBar.maximum = std::max(contentHeight_, 0);
  scrollBar.setViewRange(scrollBar.viewStart, scrollBar.viewEnd);
  scrollBar.setViewRange(position, position + visibleHeight);
  scrollPosition_ = position;
  itemContainer.scrollY = position;
  if (visibleHeight < contentHeight_ && !scrollBar.visible) {
    // An arrow click or a wheel message moves by two items on average.
    const auto count = static_cast<int32_t>(items.size());
    scrollBar.step = count > 0 ? contentHeight_ * 2 / count : 1;
    scrollBar.layoutX = -Metrics::scrollBarSize();
    scrollBar.layoutY = 0;
    scrollBar.layoutW = Metrics::scrollBarSize();
    scrollBar.layoutH = 0;
    scrollBar.setShown(true);
    scrollBar.updateLayout();
    scrollBar.procMove();
    updateItemLayout();
  } else if (visibleHeight >= contentHeight_ && scrollBar.visible) {
    scrollBar.setShown(false);
    updateItemLayout();
  }
}

int32_t ListItemControl::findItem(const ListItemBase* item) const {
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i].get() == item) return static_cast<int32_t>(i);
  return -1;
}

void ListItemControl::procRButtonDown(int32_t x, int32_t y) {
  if (!mouseService || !mouseService->pressedTarget()) return;
  mouseService->beginDrag(x, y, Window::MouseCursor::SizeAll);
  dragStartScroll_ = scrollBar.viewStart;
}

void ListItemControl::procMouseWheel(int32_t x, int32_t y, int32_t delta) {
  scrollBar.procMouseWheel(x + visibleRect.x - scrollBar.visibleRect.x,
                           y + visibleRect.y - scrollBar.visibleRect.y, delta);
}

void ListItemControl::procMouseDrag(int32_t, int32_t dy) {
  // The content follows the pointer.
  setScrollPosition(dragStartScroll_ - dy);
  itemContainer.updateLayout();
  repaint(*this);
}

void ListItemControl::procPaint() {
  if (!isPaintable(*this)) return;
  {
    ControlDrawScope scope(*this);
    if (contentHeight_ < visibleRect.height)
      scope.target().fillRectangle(0, contentHeight_, visibleRect.width, visibleRect.height,
                                   *scope.brushes().Background.get());
  }
  for (Window::WindowControlContainer* inner : {&barContainer, &itemContainer}) {
    const std::vector<Window::WindowControl*> children = inner->children;
    for (Window::WindowControl* child : children) child->procPaint();
  }
}

void ListItemControl::procMove() {
  setScrollPosition(scrollBar.viewStart);
  barContainer.updateLayout();
  itemContainer.updateLayout();
}

}  // namespace Control
