// The track bar: its handle and marked ranges, a click that jumps and then drags the handle,
// the value it keeps inside its range, and its colours.
#include "ui/controls/track_bar_control.h"

#include <memory>
#include <vector>

#include "tests/ui/control_test_support.h"

namespace {

using namespace ControlTest;
using Control::TrackBarControl;

constexpr uint32_t kRange = 0x00a0ff, kSubRange = 0xff8000;

class TrackBarControlTest : public ControlFixture {
 protected:
  TrackBarControlTest() {
    service().styleBrushes().TrackBarRange.get()->setColor(colourOf(kRange));
    service().styleBrushes().FrameRangeSelect.get()->setColor(colourOf(kSubRange));
  }

  // A bar filling a parent at (50, 50) of the size, over [0, n]; like its owner it records
  // each value asked for and then shows it.
  std::unique_ptr<TrackBarControl> makeBar(int32_t width, int32_t height, int32_t n) {
    ParentControl& parent =
        *parents_.emplace_back(std::make_unique<ParentControl>(container, 50, 50, width, height));
    auto bar = std::make_unique<TrackBarControl>(parent, 0, 0, 0, 0);
    container.updateLayout();
    bar->setRange(n);
    bar->changeCallback = [this](TrackBarControl& b, int32_t value) {
      changes.push_back(value);
      b.setValue(value);
      b.procPaint();
    };
    return bar;
  }

  std::vector<int32_t> changes;

 private:
  std::vector<std::unique_ptr<ParentControl>> parents_;
};

TEST_F(TrackBarControlTest, TheHandleIsSizedByTheHeight) {
  struct Case {
    int32_t height;
    float margin, halfWidth;
    int32_t track;
  };
  const Case cases[] = {
      {10, 1.25f, 3.0f, 194},  // 0.2 * 7.5 is raised to 3
      {40, 5.0f, 6.0f, 188},
      {24, 3.0f, 3.6f, 193},   // the handle 7 pixels wide
  };
  for (const Case& c : cases) {
    auto bar = makeBar(200, c.height, 100);
    EXPECT_FLOAT_EQ(bar->margin, c.margin) << c.height;
    EXPECT_FLOAT_EQ(bar->handleHalfWidth, c.halfWidth) << c.height;
    EXPECT_EQ(bar->trackLength, c.track) << c.height;
    bar->setValue(50);
    const auto position = static_cast<int32_t>(std::lround(c.track * 50.0f / 101.0f));
    EXPECT_EQ(bar->handle.area, (Window::Rect{50 + position, 50, 200 - c.track, c.height}));
  }
}

TEST_F(TrackBarControlTest, ValuesAndRangesStayInsideTheRange) {
  auto bar = makeBar(200, 20, 100);
  bar->setValue(80);
  bar->setSelectRange(70, 90);
  bar->setSubRange(95, 20);
  EXPECT_EQ(bar->subEnd, 95) << "an end never comes before its start";
  bar->setRange(50);
  EXPECT_EQ(bar->value, 50);
  EXPECT_EQ(bar->selectStart, 50);
  EXPECT_EQ(bar->selectEnd, 50);
  bar->setRange(-20);
  EXPECT_EQ(bar->minimum, -20);
  EXPECT_EQ(bar->maximum, 0);
  EXPECT_EQ(bar->value, 0);
  EXPECT_FLOAT_EQ(bar->valueFraction, 20.0f / 21.0f);

  bar->changeValue(0);
  bar->changeValue(30);
  EXPECT_TRUE(changes.empty()) << "the value shown, or the same after keeping it in range";
  bar->changeValue(-50);
  EXPECT_EQ(changes, std::vector<int32_t>{-20});
}

TEST_F(TrackBarControlTest, AClickJumpsToThePointAndTheSamePressDragsTheHandle) {
  auto bar = makeBar(200, 10, 100);  // track 194, handle 6 wide
  bar->setValue(50);
  now += 10'000;
  press(80, 55);  // 30 pixels in: trunc(100 * 27 / 194)
  EXPECT_EQ(changes, std::vector<int32_t>{13});
  EXPECT_EQ(mice().pressedTarget(), &bar->handle) << "the handle took the press over";
  EXPECT_TRUE(bar->handle.dragging);
  move(119, 55);  // 13 + trunc(100 * 39 / 194)
  move(40, 58);   // 13 + trunc(100 * -40 / 194)
  move(400, 58);
  release(400, 58);
  EXPECT_EQ(changes, (std::vector<int32_t>{13, 33, 0, 100}));
  EXPECT_FALSE(bar->handle.dragging);

  // A press on the handle itself drags it from the value.
  changes.clear();
  bar->setValue(50);
  now += 10'000;
  press(148, 55);
  EXPECT_TRUE(changes.empty());
  move(158, 55);
  release(158, 55);
  EXPECT_EQ(changes, std::vector<int32_t>{55});

  // Below zero the left end of the track is the range's start.
  changes.clear();
  bar->setRange(-100);
  bar->setValue(0);
  click(53, 55);
  EXPECT_EQ(changes, std::vector<int32_t>{-100});
}

TEST_F(TrackBarControlTest, TheRangesTrackAndHandleHaveTheirColours) {
  auto bar = makeBar(200, 40, 99);  // track 188, r 6, m 5; fractions of 100
  bar->setSelectRange(50, 75);      // from x 100 to 147
  bar->setSubRange(20, 30);         // from x 43.6 to 62.4
  bar->procPaint();
  EXPECT_EQ(pixel(50 + 120, 50 + 5), kRange);
  EXPECT_EQ(pixel(50 + 120, 50 + 20), Colour::kBodyDisable) << "the track over the range";
  EXPECT_EQ(pixel(50 + 170, 50 + 20), Colour::kBodyDisable);
  EXPECT_EQ(pixel(50 + 170, 50 + 5), Colour::kBackground);
  EXPECT_EQ(pixel(50 + 50, 50 + 20), kSubRange);
  EXPECT_EQ(pixel(50 + 50, 50 + 10), Colour::kBackground) << "the sub range only on the track";
  EXPECT_EQ(pixel(50 + 100, 50), Colour::kBodyDisable) << "the mark's top triangle";
  EXPECT_EQ(pixel(50 + 100, 50 + 39), Colour::kBodyDisable) << "and its bottom one";
  EXPECT_EQ(pixel(50 + 6, 50 + 10), Colour::kBody) << "the handle at 0";
  EXPECT_EQ(pixel(50 + 6, 50 + 2), Colour::kBackground) << "the margin above the handle";
  move(56, 60);
  EXPECT_EQ(pixel(50 + 6, 50 + 10), Colour::kBodyHover);
  move(300, 250);

  bar->setSelectRange(60, 60);
  bar->procPaint();
  EXPECT_FALSE(anyPixel(50, 50, 250, 52, kRange)) << "an empty range draws nothing";
  EXPECT_FALSE(anyPixel(50, 50, 250, 52, Colour::kBodyDisable)) << "nor its marks";
}

}  // namespace
