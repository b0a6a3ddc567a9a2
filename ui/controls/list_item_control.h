#pragma once
// A vertical list of item controls that scrolls when its items do not fit: by the wheel, by
// its scroll bar, shown at the right edge while the items overflow, or by a right-button drag
// that moves the content with the pointer. Items may swap places through their sort keys.
#include <cstdint>
#include <memory>
#include <vector>

#include "ui/controls/scroll_bar_control.h"
#include "ui/window_control.h"

namespace Control {

class ListItemControl;

// One item of a list: its control lives in the list's item container, and its sort key
// orders it among the others.
class ListItemBase {
 public:
  explicit ListItemBase(ListItemControl& owner) : list(&owner) {}
  virtual ~ListItemBase() = default;
  ListItemBase(const ListItemBase&) = delete;
  ListItemBase& operator=(const ListItemBase&) = delete;

  virtual int32_t getSortKey() { return 0; }
  virtual void setSortKey(int32_t key) {}
  virtual bool canMove() { return false; }

  // Exchanges the sort keys of the two items (when both may move) and lays the list out in
  // the new order.
  void swapOrder(ListItemBase& other);

  ListItemControl* list;
  Window::WindowControl* control = nullptr;
};

class ListItemControl : public Window::WindowControlRenderTarget {
 public:
  // At (0, y), filling the container below y.
  ListItemControl(Window::WindowControlContainer& container, int32_t y);

  // Places the items one below the other from the top, each as high as its control.
  void updateItemLayout();
  // Destroys every item (and its control) and empties the list; the caller lays it out.
  void clearItems() { items.clear(); }
  // Scrolls to `position`, kept within the content; the items are narrowed or widened when
  // the scroll bar's column comes or goes.
  void setScrollPosition(int32_t position);
  // The item's index in display order, or -1.
  int32_t findItem(const ListItemBase* item) const;

  void procRButtonDown(int32_t x, int32_t y) override;
  // The wheel scrolls as the scroll bar's wheel does.
  void procMouseWheel(int32_t x, int32_t y, int32_t delta) override;
  void procMouseDrag(int32_t dx, int32_t dy) override;
  void procPaint() override;
  void procMove() override;

  int32_t contentHeight() const { return contentHeight_; }
  int32_t scrollPosition() const { return scrollPosition_; }
  bool scrollBarShown() const { return scrollBar.visible; }

  Window::WindowControlContainer barContainer;
  Window::WindowControlContainer itemContainer;
  // Vertical, `ScrollBarSize` wide at the right edge; hidden while the items fit.
  ScrollBarControl scrollBar;
  // Declared after the containers: the items and their controls go first.
  std::vector<std::unique_ptr<ListItemBase>> items;

 private:
  friend class ListItemBase;
  int32_t contentHeight_ = 0;
  int32_t dragStartScroll_ = 0;
  int32_t scrollPosition_ = 0;
};

}  // namespace Control
