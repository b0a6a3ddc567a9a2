// The buttons: firing on the press, the colours of their states, their icons and texts,
// the repeat of a held button, check buttons, the wheel button, the icon square of the
// text-icon button and the value drag of the slider button.
#include "ui/controls/button_control.h"

#include <algorithm>
#include <memory>

#include "tests/ui/control_test_support.h"
#include "ui/controls/check_button_control.h"
#include "ui/controls/icon_button_control.h"
#include "ui/controls/slider_button_control.h"
#include "ui/controls/text_button_control.h"
#include "ui/tool_tips.h"

namespace {

using namespace ControlTest;
using Control::ButtonControl;

class ButtonControlTest : public ControlFixture {
 protected:
  ~ButtonControlTest() override { Window::ToolTips::release(); }
  // A 100 x 40 parent at (50, 50) that the buttons of a test are placed in.
  ParentControl parent{container, 50, 50, 100, 40};
};

// A picture of one colour, opaque.
std::unique_ptr<Media::Bitmap> solidBitmap(uint32_t rgb) {
  const uint32_t pixels[4] = {0xff000000u | rgb, 0xff000000u | rgb, 0xff000000u | rgb,
                              0xff000000u | rgb};
  return std::make_unique<Media::Bitmap>(2, 2, pixels, 8);
}

TEST_F(ButtonControlTest, APressFiresAtOnceAndEachStateShowsItsBody) {
  Control::TextButtonControl button(parent, 0, 0, 60, 30, Control::TextButtonControl::kCentred);
  std::vector<std::string> events;
  button.clickCallback = [&](ButtonControl& b) {
    events.push_back(b.dragging ? "click while pressed" : "click");
  };
  container.updateLayout();
  button.redraw();
  EXPECT_EQ(pixel(80, 65), Colour::kBody);

  move(80, 65);
  EXPECT_EQ(pixel(80, 65), Colour::kBodyHover) << "the pointer entered";
  press(80, 65);
  EXPECT_EQ(events, std::vector<std::string>{"click while pressed"}) << "fired on the press";
  EXPECT_EQ(pixel(80, 65), Colour::kBodyPress);
  release(80, 65);
  EXPECT_EQ(events.size(), 1u) << "the release fires nothing";
  EXPECT_EQ(pixel(80, 65), Colour::kBodyHover) << "released, still under the pointer";
  move(300, 250);
  EXPECT_EQ(pixel(80, 65), Colour::kBody) << "the pointer left";
  EXPECT_EQ(pixel(50, 50), Colour::kBorder);

  button.enabled = false;
  button.redraw();
  EXPECT_EQ(pixel(80, 65), Colour::kBodyDisable);
  click(80, 65);
  EXPECT_EQ(events.size(), 1u) << "a disabled button takes no press";
}

TEST_F(ButtonControlTest, TheHoverShowsTheTooltipBelowThePointer) {
  Control::TextButtonControl button(parent, 0, 0, 60, 30, 0);
  container.updateLayout();
  move(80, 65);
  mice().mouseHover();
  EXPECT_FALSE(Window::ToolTips::isShown()) << "no text, no tooltip";
  button.toolTipText = "Play";
  mice().mouseHover();
  ASSERT_TRUE(Window::ToolTips::isShown());
  EXPECT_EQ(Window::ToolTips::text().toStdString(), "Play");
  EXPECT_EQ(Window::ToolTips::timeout(), 0) << "kept until hidden";
}

TEST_F(ButtonControlTest, ABitmapButtonDrawsABodyOnlyWithABackgroundBrush) {
  const auto bitmap = solidBitmap(0x00ffff);
  Control::BitmapButtonControl button(parent, 10, 10, 20, 20);
  container.updateLayout();
  clearArea(0x000000);
  move(70, 70);
  EXPECT_EQ(pixel(70, 70), 0x000000u) << "hovered, yet no body without a background brush";

  Media::SolidColorBrush background(colourOf(0x00ff00));
  button.backgroundBrush = &background;
  button.redraw();
  EXPECT_EQ(pixel(70, 70), Colour::kBodyHover) << "hovered: the body colour";
  move(300, 250);
  EXPECT_EQ(pixel(70, 70), 0x00ff00u) << "normal: the background brush";

  button.bitmap = bitmap.get();
  button.selected = true;
  button.redraw();
  EXPECT_EQ(pixel(70, 70), 0x00ffffu) << "the bitmap is stretched over the button";
  EXPECT_EQ(pixel(60, 70), Colour::kBorder) << "a selected button is framed";
}

TEST_F(ButtonControlTest, IconsScaleWithTheButtonAndTakeTheirColourFromTheState) {
  static constexpr float kBar[5] = {0.0f, 0.5f, 1.0f, 0.5f, 0.2f};
  struct Case {
    const char* what;
    bool boxed;
    bool hovered;
    uint32_t face, icon;
  };
  const Case cases[] = {
      {"boxed: body face, text-coloured icon", true, false, Colour::kBody, Colour::kText},
      {"boxed and hovered", true, true, Colour::kBodyHover, Colour::kText},
      {"unboxed: no face, the icon in the body colour", false, false, 0x000000, Colour::kBody},
      {"unboxed and hovered: the icon shows the hover", false, true, 0x000000,
       Colour::kBodyHover},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    clearArea(0x000000);
    Control::IconButtonControl button(parent, 0, 40, {Control::Arrow::kUp, nullptr, kBar},
                                      c.boxed);
    container.updateLayout();
    move(c.hovered ? 70 : 300, c.hovered ? 80 : 250);
    button.redraw();
    // The up arrow's inside (0.5, 0.6) of 40 x 40, above the bar; its outside at (0.1, 0.2).
    // In control coordinates of the 40 x 40 button: inside the up arrow (20, 26), beside its
    // tip (8, 10), and on the bar across the middle but outside the arrow (35, 20).
    EXPECT_EQ(pixel(70, 76), c.icon) << "the triangle";
    EXPECT_EQ(pixel(58, 60), c.face) << "beside the triangle";
    EXPECT_EQ(pixel(85, 70), c.icon) << "the bar across the middle";
    EXPECT_EQ(pixel(50, 89) == Colour::kBorder, c.boxed) << "only a boxed button is framed";
    move(300, 250);
  }
}

TEST_F(ButtonControlTest, AHeldRepeatButtonRepeatsAfterTheDelayAtTheKeyRate) {
  ScopedSettings settings;
  // The desktop's shortest delay and fastest rate.
  settings.get().system.keyDelay = 250;
  settings.get().system.keyRepeatInterval = 1000 / 33;

  Control::RepeatClickButtonControl button(container, {Control::Arrow::kDown, nullptr, {}});
  button.layoutX = 200;
  button.layoutY = 200;
  button.layoutW = button.layoutH = 20;
  container.updateLayout();
  std::vector<std::string> events;
  button.pressCallback = [&](ButtonControl&) { events.push_back("press"); };
  button.clickCallback = [&](ButtonControl&) { events.push_back("click"); };
  button.releaseCallback = [&](ButtonControl&) { events.push_back("release"); };

  press(210, 210);
  EXPECT_EQ(events, (std::vector<std::string>{"press", "click"}));
  EXPECT_EQ(button.repeatPeriod(), 250u);
  System::Timer::timerProc(button.repeatTimer());  // the delay is over
  EXPECT_EQ(button.repeatPeriod(), 30u);
  System::Timer::timerProc(button.repeatTimer());
  EXPECT_EQ(events, (std::vector<std::string>{"press", "click", "click", "click"}));

  release(210, 210);
  EXPECT_EQ(events.back(), "release");
  EXPECT_EQ(button.repeatPeriod(), 0u) << "the repeat stops with the release";
  const System::Timer::Identifier stopped = button.repeatTimer();
  System::Timer::timerProc(stopped);
  EXPECT_EQ(events.size(), 5u);
}

TEST_F(ButtonControlTest, TextIsPlacedByTheAlignmentMode) {
  // The rows of the text's middle inside the 100 x 30 button, left of the border.
  auto textRow = [] {
    std::vector<uint32_t> row;
    for (int y = 58; y < 72; ++y)
      for (int x = 52; x < 148; ++x) row.push_back(pixel(x, y));
    return row;
  };
  auto firstTextColumn = [](const std::vector<uint32_t>& row) {
    int first = 96;
    for (std::size_t i = 0; i < row.size(); ++i)
      if (row[i] != Colour::kBody) first = std::min(first, static_cast<int>(i % 96) + 2);
    return first;
  };
  auto draw = [&](int32_t mode, const std::string& text) {
    Control::TextButtonControl button(parent, 0, 0, 100, 30, mode);
    button.text = text;
    container.updateLayout();
    button.redraw();
    return textRow();
  };
  // A text far wider than its button.
  const std::string wide(40, 'W');
  const std::vector<uint32_t> centred = draw(Control::TextButtonControl::kCentred, wide);
  const std::vector<uint32_t> trimmed = draw(Control::TextButtonControl::kTrimmed, wide);
  EXPECT_GE(firstTextColumn(centred), 3) << "a text that does not fit starts at the margin";
  EXPECT_LE(firstTextColumn(centred), 4);
  EXPECT_EQ(firstTextColumn(trimmed), firstTextColumn(centred));
  auto columns = [](const std::vector<uint32_t>& row, int from, int to) {
    std::vector<uint32_t> part;
    for (std::size_t i = 0; i < row.size(); ++i)
      if (static_cast<int>(i % 96) + 2 >= from && static_cast<int>(i % 96) + 2 < to)
        part.push_back(row[i]);
    return part;
  };
  EXPECT_EQ(columns(trimmed, 2, 40), columns(centred, 2, 40)) << "the same start";
  EXPECT_NE(columns(trimmed, 60, 98), columns(centred, 60, 98)) << "ends in an ellipsis";

  // The drop-down arrow at the right end, where a centred short text leaves the body.
  const std::vector<uint32_t> dropDown = draw(Control::TextButtonControl::kDropDown, "Ab");
  const std::vector<uint32_t> plain = draw(Control::TextButtonControl::kCentred, "Ab");
  const auto arrowPart = columns(dropDown, 80, 98);
  EXPECT_NE(std::count(arrowPart.begin(), arrowPart.end(), Colour::kText), 0);
  const auto plainPart = columns(plain, 80, 98);
  EXPECT_EQ(std::count(plainPart.begin(), plainPart.end(), Colour::kBody),
            static_cast<std::ptrdiff_t>(plainPart.size()));
  EXPECT_LE(firstTextColumn(dropDown), 4) << "the text at the left";
}

TEST_F(ButtonControlTest, ACheckButtonTogglesAndShowsItsStateOnTheBody) {
  Control::CheckButtonControl check(parent, 0, 0, 30, 30);
  Control::CheckBitmapButtonControl bitmapCheck(parent, 50, 0, 30, 30);
  container.updateLayout();
  std::vector<bool> seen;
  check.setCheckCallback([&](ButtonControl& b) {
    seen.push_back(static_cast<Control::CheckButtonControl&>(b).checked);
  });
  check.redraw();
  EXPECT_EQ(pixel(55, 70), Colour::kGrouping) << "unchecked: the default body";
  click(55, 70);
  click(55, 70);
  click(55, 70);
  EXPECT_EQ(seen, (std::vector<bool>{true, false, true}));
  move(300, 250);
  EXPECT_EQ(pixel(55, 60), Colour::kBody) << "framed and checked: the body colour, not hovered";
  EXPECT_EQ(pixel(50 + 12, 50 + 22), Colour::kText) << "the tick";

  bitmapCheck.checked = true;
  bitmapCheck.redraw();
  EXPECT_EQ(pixel(105, 55), Colour::kGrouping) << "unframed and checked: the default body";
  EXPECT_NE(pixel(100, 50), Colour::kBorder) << "no frame";
  Media::SolidColorBrush own(colourOf(0x00aa00));
  bitmapCheck.bodyBrushProvider = [&] { return &own; };
  bitmapCheck.redraw();
  EXPECT_EQ(pixel(105, 55), 0x00aa00u) << "the provider's brush";
  const auto on = solidBitmap(0x00ffff);
  const auto off = solidBitmap(0xff00ff);
  bitmapCheck.checkedBitmap = on.get();
  bitmapCheck.uncheckedBitmap = off.get();
  bitmapCheck.redraw();
  EXPECT_EQ(pixel(115, 65), 0x00ffffu);
  bitmapCheck.checked = false;
  bitmapCheck.redraw();
  EXPECT_EQ(pixel(115, 65), 0xff00ffu);
}

TEST_F(ButtonControlTest, TheIconSquareIsATargetOfItsOwnOnlyWithAnIcon) {
  Control::TextIconButtonControl button(parent, 100, "Name");
  int clicks = 0, iconClicks = 0;
  button.clickCallback = [&](ButtonControl&) { ++clicks; };
  button.iconClickCallback = [&](ButtonControl&) { ++iconClicks; };
  container.updateLayout();
  click(145, 70);
  EXPECT_EQ(clicks, 1) << "without an icon the right end belongs to the button";

  const auto icon = solidBitmap(0x00ffff);
  button.iconBitmap = icon.get();
  container.updateLayout();
  EXPECT_EQ(button.iconControl.area, (Window::Rect{110, 50, 40, 40}));
  click(145, 70);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(iconClicks, 1) << "the icon square takes its own press";
  click(60, 70);
  EXPECT_EQ(clicks, 2);

  move(300, 250);
  button.redraw();
  const uint32_t dim = pixel(130, 70);
  move(130, 70);
  EXPECT_EQ(pixel(130, 70), 0x00ffffu) << "a hovered icon is drawn opaque";
  EXPECT_NE(dim, 0x00ffffu) << "otherwise dimmed";
  EXPECT_EQ(pixel(112, 52), Colour::kBodyHover) << "the hovered square behind the icon";
}

TEST_F(ButtonControlTest, TheWheelButtonTakesTheWheelOnlyWhileHovered) {
  Control::TextButtonWheelControl button(parent, 0, 0, 60, 30, 0);
  container.updateLayout();
  std::vector<int32_t> deltas;
  bool willing = true;
  move(70, 60);
  wheel(70, 60, 120);
  EXPECT_FALSE(button.acceptsWheel) << "no callback: the wheel passes by";
  move(300, 250);
  button.wheelCallback = [&](Control::TextButtonWheelControl&, int32_t d) { deltas.push_back(d); };
  button.wheelPredicate = [&](Control::TextButtonWheelControl&) { return willing; };
  move(70, 60);
  EXPECT_TRUE(button.acceptsWheel);
  wheel(70, 60, -120);
  willing = false;
  now += 10'000;
  wheel(70, 60, 120);
  EXPECT_EQ(deltas, std::vector<int32_t>{-120}) << "the predicate refused the second";
  move(300, 250);
  EXPECT_FALSE(button.acceptsWheel);
}

class VolumeButton : public Component::SliderButtonControl {
 public:
  using SliderButtonControl::SliderButtonControl;
  int32_t value = 50;

 protected:
  int32_t getValue() override { return value; }
  std::string getValueText() override { return std::to_string(value); }
  void setDragValue(int32_t start, int32_t steps) override { value = start + steps; }
};

TEST_F(ButtonControlTest, TheSliderButtonFollowsAVerticalDrag) {
  VolumeButton button(parent, 0, 0, 30, 30);
  container.updateLayout();
  now += 10'000;
  press(60, 60);
  EXPECT_TRUE(mice().isDragActive());
  EXPECT_EQ(mice().wantedCursor(), Window::MouseCursor::Program143);
  EXPECT_EQ(Window::ToolTips::text().toStdString(), "50");
  now += 10'000;
  move(60, 49);  // up 11 pixels: 5 steps
  EXPECT_EQ(button.value, 55);
  EXPECT_EQ(Window::ToolTips::text().toStdString(), "55");
  move(60, 80);  // down 20 pixels from the press: 10 steps down
  EXPECT_EQ(button.value, 40);
  release(60, 80);
}

}  // namespace
