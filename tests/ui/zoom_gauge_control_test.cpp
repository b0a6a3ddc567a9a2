// The zoom gauge: its bars, the step a click, a drag or the wheel picks, and its colours.
#include "ui/controls/zoom_gauge_control.h"

#include "tests/ui/control_test_support.h"
#include "ui/tool_tips.h"

namespace {

using namespace ControlTest;
using Edit::FrameZoom;

class ZoomGaugeControlTest : public ControlFixture {
 protected:
  ~ZoomGaugeControlTest() override { Window::ToolTips::release(); }

  // A gauge of the width at (50, 50), 20 high, that records the zooms it reports and, like
  // its owner, then shows them.
  std::unique_ptr<Control::ZoomGaugeControl> makeGauge(int32_t width) {
    auto gauge = std::make_unique<Control::ZoomGaugeControl>(parent, 0, width);
    gauge->zoomChangedCallback = [this](Control::ZoomGaugeControl& g, int32_t zoom) {
      reported.push_back(zoom);
      g.zoom.zoom = zoom;
    };
    container.updateLayout();
    return gauge;
  }

  ParentControl parent{container, 50, 50, 300, 20};
  std::vector<int32_t> reported;
};

TEST_F(ZoomGaugeControlTest, AClickPicksTheStepUnderThePointer) {
  struct Case {
    int32_t width;
    int32_t x;  // in the gauge
    std::size_t step;
  };
  const Case cases[] = {
      {104, 0, 1},    // no left offset: the first bar already means the second step
      {104, 3, 1},    {104, 4, 2},  {104, 103, 26},
      {129, 0, 0},    // 12 pixels before the first bar: more than a bar width left of it
      {129, 11, 1},   // less than a bar width left of it: toward zero, the first bar's step
      {129, 128, 26}, // past the last bar: the last step
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " at " + std::to_string(c.x));
    auto gauge = makeGauge(c.width);
    EXPECT_EQ(gauge->barWidth, c.width / 26);
    reported.clear();
    click(50 + c.x, 60);
    EXPECT_EQ(reported, std::vector<int32_t>{FrameZoom::kSteps[c.step]});
    click(50 + c.x, 60);
    EXPECT_EQ(reported.size(), 1u) << "the zoom shown already: nothing to report";
  }
}

TEST_F(ZoomGaugeControlTest, ADragAcrossTheBarsFollowsThePointer) {
  auto gauge = makeGauge(104);
  move(60, 60);
  EXPECT_TRUE(reported.empty()) << "moving without a press picks nothing";
  now += 10'000;
  press(50, 60);
  move(70, 60);
  move(90, 60);
  release(90, 60);
  move(140, 60);
  EXPECT_EQ(reported, (std::vector<int32_t>{FrameZoom::kSteps[1], FrameZoom::kSteps[6],
                                            FrameZoom::kSteps[11]}));
}

TEST_F(ZoomGaugeControlTest, TheWheelMovesOneStepWithinTheTable) {
  auto gauge = makeGauge(104);
  struct Case {
    int32_t shown;
    int32_t delta;
    std::vector<int32_t> expected;
  };
  const Case cases[] = {
      {10000, 120, {15000}},
      {10000, -120, {7500}},
      {100000, 120, {}},  // the largest zoom: nothing changes
      {100000, -120, {75000}},
      {20, -120, {}},
      {12345, 120, {20}},  // not in the table: counts as before the first step
      {12345, -120, {20}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.shown) + " by " + std::to_string(c.delta));
    reported.clear();
    gauge->zoom.zoom = c.shown;
    now += 10'000;
    wheel(60, 60, c.delta);
    EXPECT_EQ(reported, c.expected);
  }
}

TEST_F(ZoomGaugeControlTest, LitBarsAndHoverPickTheColours) {
  auto gauge = makeGauge(104);
  struct Case {
    int32_t lit;
    bool hovered;
    uint32_t first, last;
  };
  const Case cases[] = {
      {0, false, Colour::kZoomGaugeOff, Colour::kZoomGaugeOff},
      {26, false, Colour::kZoomGauge, Colour::kZoomGauge},
      {1, true, Colour::kZoomGaugeHover, Colour::kZoomGaugeOffHover},
  };
  for (const Case& c : cases) {
    gauge->litCount = c.lit;
    move(c.hovered ? 52 : 300, c.hovered ? 60 : 250);
    gauge->procPaint();
    EXPECT_EQ(pixel(50 + 1, 60), c.first) << c.lit;
    EXPECT_EQ(pixel(50 + 101, 60), c.last) << c.lit;
    EXPECT_EQ(pixel(50 + 3, 60), Colour::kBackground) << "the gap after each bar";
    EXPECT_EQ(pixel(50 + 1, 51), Colour::kBackground) << "2 pixels above the bars";
  }
  mice().mouseHover();
  EXPECT_EQ(Window::ToolTips::text().toStdString(), "レイヤー表示の拡大率を変更");

  auto narrow = makeGauge(40);
  narrow->litCount = 26;
  narrow->procPaint();
  EXPECT_EQ(narrow->barWidth, 1);
  bool onlyBackground = true;
  for (int x = 50; x < 90; ++x)
    for (int y = 50; y < 70; ++y) onlyBackground = onlyBackground && pixel(x, y) == Colour::kBackground;
  EXPECT_TRUE(onlyBackground) << "1-pixel bars are all gap";
}

}  // namespace
