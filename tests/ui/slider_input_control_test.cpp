// The number slider: the text of its value, the speed and snapping of a drag, Shift and the
// arrow keys during a drag, the step buttons and when they show, typed text, the change
// brackets the owner sees, and its colours.
#include "ui/controls/slider_input_control.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "tests/ui/control_test_support.h"

namespace {

using namespace ControlTest;
using Control::SliderInputControl;

constexpr uint32_t kBodySelect = 0x60a0e0, kSliderCursor = 0xe0e000;

class SliderInputControlTest : public ControlFixture {
 protected:
  SliderInputControlTest() {
    service().styleBrushes().ButtonBodySelect.get()->setColor(colourOf(kBodySelect));
    service().styleBrushes().SliderCursor.get()->setColor(colourOf(kSliderCursor));
    mice().setModifierReader([this] { return modifiers; });
  }
  ~SliderInputControlTest() override {
    mice().setModifierReader(nullptr);
    SliderInputControl::moveSetting = {};
  }

  // A slider `width` wide and 20 high at (50, 50) that logs what it tells its owner.
  std::unique_ptr<SliderInputControl> makeSlider(int32_t width) {
    ParentControl& parent =
        *parents_.emplace_back(std::make_unique<ParentControl>(container, 50, 50, width, 20));
    auto slider = std::make_unique<SliderInputControl>(parent, 0, 0, 20);
    slider->valueChangedCallback = [this](SliderInputControl& s) {
      events.push_back(std::to_string(s.value));
    };
    slider->changeBeginCallback = [this](SliderInputControl&) { events.push_back("begin"); };
    slider->changeEndCallback = [this](SliderInputControl&) { events.push_back("end"); };
    container.updateLayout();
    return slider;
  }

  Qt::KeyboardModifiers modifiers;
  std::vector<std::string> events;

 private:
  std::vector<std::unique_ptr<ParentControl>> parents_;
};

TEST_F(SliderInputControlTest, TheValueShowsWithTheStepsDecimals) {
  auto slider = makeSlider(300);
  struct Case {
    double step, value;
    const char* text;
  };
  const Case cases[] = {
      {0.01, 0.05, "0.05"}, {0.01, -12.34, "-12.34"}, {0.01, 1.0, "1.00"},
      {0.01, 0.0, "0.00"},  {1.0, 42.0, "42"},        {0.1, -0.04, "0.0"},  // rounds to 0
      {0.001, 1000.0, "100.000"},                                          // the maximum
      {0.0, 3.0, "3"},  // a step of nothing counts as 1
  };
  for (const Case& c : cases) {
    slider->setRange(c.value, -100.0, 100.0, c.step);
    EXPECT_EQ(slider->text, c.text) << c.step << " " << c.value;
  }
  events.clear();
  slider->setRange(1.5, 0.0, 10.0, 0.1);
  EXPECT_EQ(slider->value, 15);
  EXPECT_EQ(slider->defaultValue, 15);
  EXPECT_EQ(slider->scale, 10);
  EXPECT_EQ(slider->digits, 1);
  slider->setValue(-3.0);
  EXPECT_EQ(slider->value, 0) << "kept inside the limits";
  slider->zeroText = "なし";
  slider->updateText();
  EXPECT_EQ(slider->text, "") << "the zero text stands for 0";
  EXPECT_TRUE(events.empty()) << "setting the value tells the owner nothing";
}

TEST_F(SliderInputControlTest, TheDragSpeedFollowsTheMoveSetting) {
  auto slider = makeSlider(300);
  slider->noStepButtons = true;
  container.updateLayout();
  struct Case {
    int32_t mode, ratio;
    double step, minimum, maximum;
    float unitsPerPixel;
    int32_t fine, coarse;
  };
  const Case cases[] = {
      {0, 100, 0.01, -100, 100, 100.0f, 100, 5},          // one pixel is 1.0
      {1, 100, 0.1, 0, 1000, 10000.0f / 1920.0f, 5, 1},   // the screen spans the range
      {2, 100, 1.0, 0, 30, 0.1f, 1, 1},                   // the slider spans the range
      {0, 50, 0.001, 0, 10, 500.0f, 500, 25},
      {1, 100, 0.01, 0, 100000, 1000.0f, 100, 100},      // at most ten whole steps a pixel
  };
  for (const Case& c : cases) {
    SliderInputControl::moveSetting = {c.mode, c.ratio};
    slider->setRange(0.0, c.minimum, c.maximum, c.step);
    EXPECT_FLOAT_EQ(slider->unitsPerPixel, c.unitsPerPixel) << c.mode << " " << c.step;
    EXPECT_EQ(slider->fineStep, c.fine) << c.mode << " " << c.step;
    EXPECT_EQ(slider->coarseStep, c.coarse) << c.mode << " " << c.step;
  }
}

TEST_F(SliderInputControlTest, ADragMovesTheValueAndShiftRebasesIt) {
  SliderInputControl::moveSetting = {0, 100};
  auto slider = makeSlider(300);
  slider->noStepButtons = true;
  container.updateLayout();
  slider->setRange(0.0, -100.0, 100.0, 0.01);  // 100 units a pixel; Shift 5

  now += 10'000;
  press(200, 60);
  EXPECT_EQ(mice().wantedCursor(), Window::MouseCursor::PickColor);
  move(210, 60);   // 10 pixels: 10.00
  move(203, 61);   // 3 pixels: 3.00
  modifiers = Qt::ShiftModifier;
  move(205, 61);   // rebased here: nothing moves
  move(207, 61);   // two Shift pixels
  modifiers = Qt::NoModifier;
  move(208, 61);   // rebased again
  move(209, 61);   // one plain pixel
  key(Qt::Key_Left);
  move(210, 61);   // on from the nudged value
  key(Qt::Key_Up);  // not a nudge
  release(210, 61);
  EXPECT_EQ(events, (std::vector<std::string>{"begin", "1000", "300", "310", "410", "409", "509",
                                              "end"}));
  EXPECT_EQ(slider->text, "5.09");

  events.clear();
  slider->hidePointerWhileDragging = true;
  now += 10'000;
  press(200, 60);
  EXPECT_EQ(mice().wantedCursor(), Window::MouseCursor::Hidden);
  move(40, 60);  // 5.09 less 160.00
  release(40, 60);
  EXPECT_EQ(events, (std::vector<std::string>{"begin", "-10000", "end"})) << "the minimum";
}

TEST_F(SliderInputControlTest, StepButtonsShowWhenTheValueFitsBesideThem) {
  auto slider = makeSlider(300);
  const int32_t fits = static_cast<int32_t>(slider->minimumWidthForButtons) + 20;
  struct Case {
    int32_t width;
    bool always, never, shown;
  };
  const Case cases[] = {
      {fits, false, false, true},
      {fits - 1, false, false, false},
      {fits - 1, true, false, true},
      {fits, true, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + (c.always ? " always" : "") + (c.never ? " never" : ""));
    slider->alwaysShowStepButtons = c.always;
    slider->noStepButtons = c.never;
    container.children.front()->layoutW = c.width;
    container.updateLayout();
    EXPECT_EQ(slider->minusButton.visible, c.shown);
    EXPECT_EQ(slider->plusButton.visible, c.shown);
    const Window::Rect field = c.shown ? Window::Rect{60, 50, c.width - 20, 20}
                                       : Window::Rect{50, 50, c.width, 20};
    EXPECT_EQ(slider->dragField.fullRect, field);
    if (c.shown) {
      EXPECT_EQ(slider->minusButton.fullRect, (Window::Rect{50, 50, 10, 20}));
      EXPECT_EQ(slider->plusButton.fullRect, (Window::Rect{50 + c.width - 10, 50, 10, 20}));
    }
  }
}

TEST_F(SliderInputControlTest, AStepButtonChangesOneUnitInsideOneBracket) {
  auto slider = makeSlider(300);
  slider->setRange(0.5, 0.0, 1.0, 0.1);
  now += 10'000;
  press(345, 60);  // plus
  EXPECT_EQ(slider->plusButton.repeatPeriod(), 500u) << "repeats while held";
  release(345, 60);
  click(55, 60);   // minus
  click(55, 60);
  EXPECT_EQ(events, (std::vector<std::string>{"begin", "6", "end", "begin", "5", "end", "begin",
                                              "4", "end"}));
  slider->setValue(1.0);
  events.clear();
  click(345, 60);
  EXPECT_EQ(events, (std::vector<std::string>{"begin", "end"})) << "at the maximum";
}

TEST_F(SliderInputControlTest, TypedTextBecomesTheValue) {
  auto slider = makeSlider(300);
  slider->setRange(5.0, 0.0, 100.0, 0.1);
  struct Case {
    const char* typed;
    int32_t offset;
    int32_t value;
  };
  const Case cases[] = {
      {"1.5", 0, 15},   {"", 0, 50},       // emptied: the default value
      {"abc", 0, 50},   {"-", 0, 50},      // not a number: unchanged
      {"+2", 0, 20},    {"1e9", 0, 1000},  // kept inside the limits
      {"1.5", -1, 14},  {"1.5", 1, 16},    // the wheel's unit
      {"-4", 0, 0},
  };
  for (const Case& c : cases) {
    slider->applyText(c.typed, c.offset);
    EXPECT_EQ(slider->value, c.value) << c.typed << " " << c.offset;
  }
  EXPECT_EQ(events.front(), "begin");
  EXPECT_EQ(std::count(events.begin(), events.end(), "begin"), 1) << "one change while typing";
  slider->endChange();
  slider->endChange();
  EXPECT_EQ(events.back(), "end");
  EXPECT_EQ(std::count(events.begin(), events.end(), "end"), 1);
}

TEST_F(SliderInputControlTest, TheFaceShowsItsStateGripsAndCursor) {
  auto slider = makeSlider(204);
  slider->noStepButtons = true;
  slider->leftGrip = slider->rightGrip = true;
  slider->valueCursor = true;
  container.updateLayout();
  slider->setRange(0.0, 0.0, 100.0, 1.0);
  slider->procPaint();
  EXPECT_EQ(pixel(60, 60), Colour::kBody);
  EXPECT_EQ(pixel(50, 60), Colour::kBorder) << "left grip";
  EXPECT_EQ(pixel(52, 60), Colour::kBody) << "between its bars";
  EXPECT_EQ(pixel(53, 60), Colour::kBorder);
  EXPECT_EQ(pixel(50 + 200, 60), Colour::kBorder) << "right grip";
  EXPECT_EQ(pixel(50 + 201, 60), Colour::kBody);
  EXPECT_EQ(pixel(50 + 203, 60), Colour::kBorder);
  // The text is smoothed: any pixel of it differs from the face.
  auto textDrawn = [] {
    for (int y = 50; y < 70; ++y)
      for (int x = 140; x < 164; ++x)
        if (pixel(x, y) != Colour::kBody && pixel(x, y) != Colour::kGrouping) return true;
    return false;
  };
  EXPECT_TRUE(textDrawn()) << "the value in the middle";

  move(60, 60);
  EXPECT_EQ(pixel(60, 60), Colour::kBodyHover);
  EXPECT_EQ(pixel(51, 60), kSliderCursor) << "the value cursor at 0";
  EXPECT_EQ(pixel(50 + 202, 60), Colour::kBodyHover) << "no grips while hovered";
  now += 10'000;
  press(60, 60);
  EXPECT_EQ(pixel(60, 60), kBodySelect);
  release(60, 60);
  slider->setValue(100.0);
  slider->procPaint();
  EXPECT_EQ(pixel(50 + 202, 60), kSliderCursor) << "the value cursor at the maximum";

  slider->dragField.enabled = false;
  slider->procPaint();
  EXPECT_EQ(pixel(60, 60), Colour::kGrouping);
  EXPECT_FALSE(textDrawn()) << "no text when disabled";
}

}  // namespace
