// Controls inside a docked window: placement from the layout values, clipping to the
// container, and input in coordinates of the visible part.
#include <memory>

#include "tests/ui/window_input_support.h"
#include "ui/window_control.h"

namespace {

using Window::Rect;

class TestControl : public Window::WindowControlRenderTarget {
 public:
  template <class Owner>
  TestControl(Owner& owner, int32_t x, int32_t y, int32_t w, int32_t h,
              std::vector<std::string>* log = nullptr)
      : WindowControlRenderTarget(owner, x, y, w, h), log_(log) {}
  void procPaint() override {}
  void procMove() override { ++moves; }
  void procLButtonDown(int32_t x, int32_t y) override {
    if (log_) log_->push_back(std::to_string(x) + "," + std::to_string(y));
  }
  int moves = 0;

 private:
  std::vector<std::string>* log_;
};

class WindowControlTest : public WindowTest::WindowFixture {
 protected:
  WindowControlTest() {
    container.priority = 100;
    container.parentRect = &parent;
    container.clipRect = &parent;
    container.updateLayout();
  }
  Rect parent{0, 0, 400, 300};
  Window::WindowControlContainer container;
};

TEST_F(WindowControlTest, TheLayoutValuesPlaceTheControlInItsParent) {
  struct Case {
    const char* what;
    int32_t x, y, w, h;
    Rect expected;
  };
  const Case cases[] = {
      {"plain", 10, 20, 50, 30, {10, 20, 50, 30}},
      {"negative x counts from the right, width 0 stretches", -100, 0, 0, 20, {300, 0, 100, 20}},
      {"negative y counts from the bottom", 10, -30, 50, 20, {10, 270, 50, 20}},
      {"a negative width stops short of the right edge", 10, 0, -10, 20, {10, 0, 380, 20}},
      {"a stretch that ends before the start is empty", 50, 0, -400, 10, {50, 0, 0, 10}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestControl control(container, c.x, c.y, c.w, c.h);
    EXPECT_EQ(control.fullRect, c.expected);
    EXPECT_EQ(control.visibleRect, c.expected);
    EXPECT_EQ(control.priority, 101);
  }
  EXPECT_TRUE(container.children.empty()) << "destroyed controls leave the container";
}

TEST_F(WindowControlTest, AScrolledControlIsClippedAndTakesInputAtItsVisibleCorner) {
  std::vector<std::string> clicks;
  TestControl control(container, 20, 20, 100, 40, &clicks);
  TestControl child(control, 10, 0, 0, 0);
  container.scrollY = 50;
  container.updateLayout();
  EXPECT_EQ(control.fullRect, (Rect{20, -30, 100, 40}));
  EXPECT_EQ(control.visibleRect, (Rect{20, 0, 100, 10}));
  EXPECT_EQ(child.fullRect, (Rect{30, -30, 90, 40}));
  EXPECT_EQ(child.visibleRect, (Rect{30, 0, 90, 10}));
  EXPECT_EQ(child.priority, 102);
  EXPECT_GT(control.moves, 0);

  press(25, 5);  // left of the child: the control, relative to its visible top-left corner
  release(25, 5);
  EXPECT_EQ(clicks, std::vector<std::string>{"5,5"});
  now += 1000;
  press(25, 20);  // below the visible part: nobody
  release(25, 20);
  EXPECT_EQ(clicks.size(), 1u);
}

}  // namespace
