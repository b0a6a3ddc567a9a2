// The scroll bar: its arrows and thumb, the scroll requests of the arrows, the track, the
// wheel and a thumb drag, the view it keeps inside its range, and its colours.
#include "ui/controls/scroll_bar_control.h"

#include <memory>
#include <vector>

#include "tests/ui/control_test_support.h"

namespace {

using namespace ControlTest;
using Control::ScrollBarControl;

class ScrollBarControlTest : public ControlFixture {
 protected:
  // A bar filling a parent at (50, 50) of the size, over the range [0, 99] with the view
  // [start, end]; like its owner it records each request and then shows the new view.
  std::unique_ptr<ScrollBarControl> makeBar(int32_t width, int32_t height, int32_t start = 25,
                                            int32_t end = 49, bool horizontal = false) {
    ParentControl& parent =
        *parents_.emplace_back(std::make_unique<ParentControl>(container, 50, 50, width, height));
    auto bar = horizontal ? std::make_unique<ScrollBarControl>(parent, 0, 0, 0, height)
                          : std::make_unique<ScrollBarControl>(parent, 0, 0, 0, 0);
    bar->minimum = 0;
    bar->maximum = 99;
    bar->setViewRange(start, end);
    bar->scrollCallback = [this](ScrollBarControl& b, int32_t newStart) {
      requests.push_back(newStart);
      b.setViewRange(newStart, newStart + (b.viewEnd - b.viewStart));
      b.procPaint();
    };
    container.updateLayout();
    return bar;
  }

  std::vector<int32_t> requests;

 private:
  // Declared last: every bar goes before the parent it lies in.
  std::vector<std::unique_ptr<ParentControl>> parents_;
};

TEST_F(ScrollBarControlTest, TheArrowsTakeTheEndsAndLeaveTheTrackBetween) {
  struct Case {
    int32_t width, height;
    bool horizontal;
    int32_t arrow, track;
  };
  const Case cases[] = {
      {20, 30, false, 12, 6},   // half the height less 3
      {20, 100, false, 20, 60}, // no longer than the bar is wide
      {100, 16, true, 16, 68},
      {20, 6, false, 0, 6},     // too short for arrows
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    auto bar = makeBar(c.width, c.height, 25, 49, c.horizontal);
    EXPECT_EQ(bar->vertical, !c.horizontal);
    EXPECT_EQ(bar->arrowSize, c.arrow);
    EXPECT_EQ(bar->trackLength, c.track);
    if (c.arrow == 0) {
      EXPECT_FALSE(bar->firstArrow.visible) << "no arrow of no size";
      continue;
    }
    EXPECT_TRUE(bar->firstArrow.visible);
    const Window::Rect first = c.horizontal ? Window::Rect{50, 50, c.arrow, c.height}
                                            : Window::Rect{50, 50, c.width, c.arrow};
    const Window::Rect second =
        c.horizontal ? Window::Rect{50 + c.width - c.arrow, 50, c.arrow, c.height}
                     : Window::Rect{50, 50 + c.height - c.arrow, c.width, c.arrow};
    EXPECT_EQ(bar->firstArrow.fullRect, first);
    EXPECT_EQ(bar->secondArrow.fullRect, second);
  }
}

TEST_F(ScrollBarControlTest, TheThumbShowsTheViewAndReachesThreePixelsPastIt) {
  auto bar = makeBar(20, 100);  // track 60 from y 70
  EXPECT_FLOAT_EQ(bar->startFraction, 0.25f);
  EXPECT_FLOAT_EQ(bar->endFraction, 0.5f) << "the view's end is inclusive";
  EXPECT_FLOAT_EQ(bar->thumbStart, 12.0f);
  EXPECT_FLOAT_EQ(bar->thumbEnd, 33.0f);
  EXPECT_EQ(bar->thumb.area, (Window::Rect{50, 82, 20, 22}));

  bar->setViewRange(90, 200);
  EXPECT_EQ(bar->viewStart, 90);
  EXPECT_EQ(bar->viewEnd, 99) << "kept inside the range";
  bar->setViewRange(-5, -10);
  EXPECT_EQ(bar->viewStart, 0);
  EXPECT_EQ(bar->viewEnd, 0) << "never before its start";

  // A range of nothing (maximum below minimum) leaves the thumb over the whole track.
  bar->maximum = -1;
  bar->setViewRange(0, 0);
  EXPECT_FLOAT_EQ(bar->thumbStart, -3.0f);
  EXPECT_FLOAT_EQ(bar->thumbEnd, 63.0f);
}

TEST_F(ScrollBarControlTest, AClickOnTheTrackAsksForAPageOnItsSideOfTheThumb) {
  struct Case {
    int32_t start, end;
    int y;  // window position
    int32_t requested;
  };
  // Track 60 from y 70; the view [25, 49] has its thumb from y 82 to 103, centre 92.5.
  const Case cases[] = {
      {25, 49, 75, 1},    // one page back
      {25, 49, 92, 1},    // the thumb's target is above: a press just above its centre
      {25, 49, 125, 49},  // one page forward: to the view's end
      {5, 29, 71, 0},     // limited at the range's start
      {70, 94, 128, 75},  // limited so that the view ends at the range's end
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.start) + " at " + std::to_string(c.y));
    auto bar = makeBar(20, 100, c.start, c.end);
    bar->thumb.visible = false;  // the press lands on the track under it
    requests.clear();
    click(60, c.y);
    EXPECT_EQ(requests, std::vector<int32_t>{c.requested});
  }
  auto bar = makeBar(20, 100, 0, 24);
  requests.clear();
  click(60, 75);
  EXPECT_TRUE(requests.empty()) << "already at the start: nothing to ask";
}

TEST_F(ScrollBarControlTest, ArrowsAndTheWheelMoveByTheStep) {
  auto bar = makeBar(20, 100);
  bar->step = 7;
  struct Action {
    const char* what;
    std::function<void()> run;
    int32_t requested;
  };
  const Action actions[] = {
      {"down arrow", [this] { click(60, 140); }, 32},
      {"up arrow", [this] { click(60, 55); }, 25},
      {"wheel toward the user", [this] { now += 10'000; wheel(60, 120, -120); }, 32},
      {"wheel away from the user", [this] { now += 10'000; wheel(60, 120, 120); }, 25},
  };
  for (const Action& a : actions) {
    requests.clear();
    a.run();
    EXPECT_EQ(requests, std::vector<int32_t>{a.requested}) << a.what;
  }
  bar->setViewRange(70, 94);
  requests.clear();
  click(60, 140);
  EXPECT_EQ(requests, std::vector<int32_t>{75}) << "the last step stops at the end";
  requests.clear();
  click(60, 140);
  EXPECT_TRUE(requests.empty());
}

TEST_F(ScrollBarControlTest, DraggingTheThumbAsksForTheViewUnderIt) {
  auto bar = makeBar(20, 100);  // 99 units over 60 pixels
  now += 10'000;
  press(60, 90);
  EXPECT_EQ(mice().pressedTarget(), &bar->thumb) << "the thumb is above the bar";
  move(60, 102);
  move(60, 78);
  move(60, 200);
  release(60, 200);
  // 25 + trunc(99 * 12 / 60), 25 + trunc(99 * -12 / 60), then the end of the range.
  EXPECT_EQ(requests, (std::vector<int32_t>{44, 6, 75}));
  EXPECT_EQ(bar->viewStart, 75);
}

TEST_F(ScrollBarControlTest, ViewRatioCentresTheViewUnlessItCoversTheRange) {
  struct Case {
    int32_t start, end;
    float fraction;
    int32_t expectedStart;
  };
  const Case cases[] = {
      {0, 9, 0.5f, 46},    // round(100 * 0.5 - 4.5), halves away from zero
      {0, 9, 1.0f, 90},    // limited so that the view ends at the range's end
      {50, 59, 0.0f, 0},
      {0, 99, 0.3f, 0},    // covers it all: unchanged
  };
  for (const Case& c : cases) {
    auto bar = makeBar(20, 100, c.start, c.end);
    bar->setViewRatio(c.fraction);
    EXPECT_EQ(bar->viewStart, c.expectedStart) << c.fraction;
    EXPECT_EQ(bar->viewEnd - bar->viewStart, c.end - c.start);
  }
}

TEST_F(ScrollBarControlTest, TheThumbShowsItsStateOverTheTrack) {
  auto bar = makeBar(20, 100);  // thumb from y 82 to 103, inset 4 pixels
  bar->procPaint();
  EXPECT_EQ(pixel(60, 90), Colour::kBody);
  EXPECT_EQ(pixel(52, 90), Colour::kBackground) << "inside the inset";
  EXPECT_EQ(pixel(60, 120), Colour::kBackground) << "the track below the thumb";
  move(60, 90);
  EXPECT_EQ(pixel(60, 90), Colour::kBodyHover);
  now += 10'000;
  press(60, 90);
  EXPECT_EQ(pixel(60, 90), Colour::kBodyPress);
  release(60, 90);
  move(300, 250);
  EXPECT_EQ(pixel(60, 90), Colour::kBody);

  // The whole range in view: the thumb fills the track and is clipped at the arrows.
  bar->setViewRange(0, 99);
  bar->procPaint();
  EXPECT_EQ(pixel(60, 70), Colour::kBody);
  EXPECT_EQ(pixel(60, 129), Colour::kBody);
  EXPECT_NE(pixel(60, 69), Colour::kBody) << "the arrow's own square";

  auto wide = makeBar(100, 16, 0, 49, true);  // track 68 from x 66, inset 3.2 pixels
  wide->procPaint();
  EXPECT_EQ(pixel(80, 58), Colour::kBody);
  EXPECT_EQ(pixel(80, 51), Colour::kBackground);
  EXPECT_EQ(pixel(110, 58), Colour::kBackground) << "past the view's half";
}

TEST_F(ScrollBarControlTest, AHiddenBarTakesNoInput) {
  auto bar = makeBar(20, 100);
  bar->setShown(false);
  for (int y : {55, 90, 120}) click(60, y);
  now += 10'000;
  wheel(60, 120, -120);
  EXPECT_TRUE(requests.empty());
  bar->setShown(true);
  click(60, 55);
  EXPECT_EQ(requests, std::vector<int32_t>{24});
}

}  // namespace
