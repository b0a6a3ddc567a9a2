// The plain rectangle, the layout rectangle and the scrolling list with its items.
#include "ui/controls/list_item_control.h"

#include <memory>

#include "tests/ui/control_test_support.h"
#include "ui/controls/rect_control.h"

namespace {

using namespace ControlTest;

class ListItemControlTest : public ControlFixture {};

TEST_F(ListItemControlTest, ALayoutControlPlacesTheFractionOfItsArea) {
  struct Case {
    float left, top, right, bottom;
    Window::Rect expected;
  };
  const Case cases[] = {
      {0.25f, 0.0f, 0.75f, 1.0f, {35, 20, 50, 60}},
      {0.0f, 0.5f, 1.0f, 1.0f, {10, 50, 100, 30}},
      {0.333f, 0.333f, 0.666f, 0.666f, {43, 39, 33, 20}},  // fractions truncated
  };
  ParentControl parent(container, 10, 20, 100, 60);
  for (const Case& c : cases) {
    Control::LayoutControl layout(parent, 0, 0, 0, 0);
    layout.left = c.left;
    layout.top = c.top;
    layout.right = c.right;
    layout.bottom = c.bottom;
    Control::RectControl child(layout, 0, 0, 0, 0);
    container.updateLayout();
    EXPECT_EQ(layout.fullRect, c.expected);
    EXPECT_EQ(child.fullRect, c.expected) << "a child fills the placed part";
  }
}

TEST_F(ListItemControlTest, ARectangleFillsAndHandsItsPainterTheVisibleCorner) {
  // Scrolled by 10 pixels: only the control's lower part shows.
  Control::RectControl rect(container, 100, 0, 50, 30);
  container.scrollY = 10;
  container.updateLayout();
  ASSERT_EQ(rect.visibleRect, (Window::Rect{100, 0, 50, 20}));
  Media::SolidColorBrush fill(colourOf(0x00ff00)), mark(colourOf(0xff00ff));
  rect.fillBrush = &fill;
  rect.paintCallback = [&](Control::RectControl& control) {
    control.drawing.renderTarget->fillRectangle(0, 0, 1, 1, mark);
  };
  rect.procPaint();
  EXPECT_EQ(pixel(100, 0), 0xff00ffu) << "the painter's origin is the visible corner";
  EXPECT_EQ(pixel(120, 10), 0x00ff00u);
}

// An item whose control is a filled rectangle of 40 pixels in the list.
class TestItem : public Control::ListItemBase {
 public:
  TestItem(Control::ListItemControl& owner, int32_t key, bool movable)
      : ListItemBase(owner), key_(key), movable_(movable), rect_(owner.itemContainer, 0, 0, 0, 40),
        fill_(colourOf(0x100000u * static_cast<uint32_t>(key + 1))) {
    rect_.fillBrush = &fill_;
    control = &rect_;
  }
  int32_t getSortKey() override { return key_; }
  void setSortKey(int32_t key) override { key_ = key; }
  bool canMove() override { return movable_; }

 private:
  int32_t key_;
  bool movable_;
  Control::RectControl rect_;
  Media::SolidColorBrush fill_;
};

class ListFixture : public ListItemControlTest {
 protected:
  // The list fills the 400 x 300 area.
  void add(int count, bool movable = true) {
    for (int i = 0; i < count; ++i) {
      const auto key = static_cast<int32_t>(list.items.size());
      list.items.push_back(std::make_unique<TestItem>(list, key, movable));
    }
    list.updateItemLayout();
    list.setScrollPosition(list.scrollPosition());
    list.itemContainer.updateLayout();
  }
  Control::RectControl& rectOf(std::size_t index) {
    return static_cast<Control::RectControl&>(*list.items[index]->control);
  }

  Control::ListItemControl list{container, 0};
};

TEST_F(ListFixture, ItemsThatFitShowNoBarAndTheRestIsBackground) {
  add(3);
  EXPECT_EQ(list.contentHeight(), 120);
  EXPECT_FALSE(list.scrollBarShown());
  EXPECT_EQ(rectOf(2).fullRect, (Window::Rect{0, 80, 400, 40}));
  list.procPaint();
  EXPECT_EQ(pixel(200, 100), 0x300000u) << "the third item";
  EXPECT_EQ(pixel(200, 200), Colour::kBackground) << "below the items";

  add(5);  // 320 pixels in 300
  EXPECT_TRUE(list.scrollBarShown());
  for (std::size_t i = 0; i < list.items.size(); ++i)
    EXPECT_EQ(rectOf(i).fullRect.width, 380) << "every item leaves the bar's width free";
  list.items.resize(2);
  list.updateItemLayout();
  list.setScrollPosition(0);
  EXPECT_FALSE(list.scrollBarShown()) << "fits again";
  EXPECT_EQ(rectOf(1).fullRect.width, 400);
}

TEST_F(ListFixture, ARightButtonDragMovesTheContentWithThePointer) {
  add(10);  // 400 pixels in 300: scrolls from 0 to 100
  list.setScrollPosition(50);
  list.itemContainer.updateLayout();
  EXPECT_EQ(rectOf(0).fullRect.y, -50);
  struct Step {
    int y;
    int32_t position;
  };
  now += 10'000;
  press(200, 150, Qt::RightButton);
  EXPECT_EQ(mice().wantedCursor(), Window::MouseCursor::SizeAll);
  const Step steps[] = {{180, 20}, {250, 0}, {-50, 100}, {150, 50}};
  for (const Step& s : steps) {
    move(200, s.y);
    EXPECT_EQ(list.scrollPosition(), s.position) << "pointer at " << s.y;
    EXPECT_EQ(rectOf(0).fullRect.y, -s.position) << "the items follow";
  }
  release(200, 150, Qt::RightButton);
  EXPECT_EQ(pixel(200, 5), 0x200000u) << "scrolled by 50: the second item at the top";
}

TEST_F(ListFixture, TheBarShowsTheViewAndTheWheelArrowsAndTrackScrollTheList) {
  add(10);  // 400 pixels in 300; the bar at x 380, its arrows 20 high
  ASSERT_TRUE(list.scrollBarShown());
  EXPECT_EQ(list.scrollBar.fullRect, (Window::Rect{380, 0, 20, 300}));
  EXPECT_EQ(list.scrollBar.step, 80) << "twice the average item height";
  EXPECT_EQ(list.scrollBar.maximum, 400);
  EXPECT_EQ(list.scrollBar.viewEnd, 300);
  struct Step {
    const char* what;
    std::function<void()> run;
    int32_t position;
  };
  const Step steps[] = {
      {"wheel toward the user over an item", [this] { now += 10'000; wheel(200, 150, -120); }, 80},
      {"wheel again, to the end", [this] { now += 10'000; wheel(200, 150, -120); }, 100},
      {"wheel away from the user", [this] { now += 10'000; wheel(200, 150, 120); }, 20},
      {"down arrow", [this] { click(390, 290); }, 100},
      {"up arrow", [this] { click(390, 10); }, 20},
      {"track below the thumb: a page", [this] { click(390, 270); }, 100},
  };
  for (const Step& s : steps) {
    s.run();
    EXPECT_EQ(list.scrollPosition(), s.position) << s.what;
    EXPECT_EQ(list.scrollBar.viewStart, s.position) << s.what;
    EXPECT_EQ(rectOf(0).fullRect.y, -s.position) << s.what;
  }

  // The thumb (from the track's 65th pixel at 100 of 400) drags the list.
  now += 10'000;
  press(390, 100);
  ASSERT_EQ(mice().pressedTarget(), &list.scrollBar.thumb);
  move(390, 60);  // 100 + trunc(400 * -40 / 260)
  release(390, 60);
  EXPECT_EQ(list.scrollPosition(), 39);
  list.procMove();
  EXPECT_EQ(list.scrollPosition(), 39) << "a relayout keeps the position";

  move(200, 150);
  list.procPaint();
  EXPECT_EQ(pixel(390, 100), Colour::kBody) << "the thumb";
  EXPECT_EQ(pixel(390, 250), Colour::kBackground) << "the track below it";
  EXPECT_EQ(pixel(370, 150), 0x500000u) << "the fifth item, 39 pixels up";
  EXPECT_EQ(pixel(381, 150), Colour::kBackground) << "beside the thumb: the bar, not the item";

  list.items.resize(3);
  list.updateItemLayout();
  list.setScrollPosition(39);
  EXPECT_EQ(list.scrollPosition(), 0) << "the items fit again";
  EXPECT_FALSE(list.scrollBar.visible);
  EXPECT_FALSE(list.scrollBar.thumb.visible) << "a hidden bar hides its thumb";
  EXPECT_FALSE(list.scrollBar.firstArrow.visible);
}

TEST_F(ListFixture, ItemsSwapOnlyWhenBothMayMove) {
  add(2);
  add(1, false);
  Control::ListItemBase* first = list.items[0].get();
  Control::ListItemBase* second = list.items[1].get();
  Control::ListItemBase* fixed = list.items[2].get();
  fixed->swapOrder(*first);
  first->swapOrder(*fixed);
  EXPECT_EQ(list.findItem(first), 0) << "the fixed item keeps everything in place";
  EXPECT_EQ(list.findItem(fixed), 2);

  first->swapOrder(*second);
  EXPECT_EQ(list.findItem(first), 1);
  EXPECT_EQ(list.findItem(second), 0);
  EXPECT_EQ(first->getSortKey(), 1);
  EXPECT_EQ(first->control->fullRect.y, 40) << "laid out in the new order";
  EXPECT_EQ(second->control->fullRect.y, 0);
  EXPECT_EQ(list.findItem(nullptr), -1);
}

}  // namespace
