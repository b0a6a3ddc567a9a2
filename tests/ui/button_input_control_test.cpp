// The button input field: the value a text gives through the pattern, what typing does to
// the value, and the face that shows it.
#include "ui/controls/button_input_control.h"

#include "tests/ui/control_test_support.h"

namespace {

using namespace ControlTest;
using Control::ButtonInputControl;

class ButtonInputControlTest : public ControlFixture {
 protected:
  ButtonInputControlTest() {
    field.valueChangedCallback = [this](ButtonInputControl& f) {
      events.push_back("value " + f.value);
    };
    field.editBeginCallback = [this](ButtonInputControl&) { events.push_back("begin"); };
    field.editEndCallback = [this](ButtonInputControl&) { events.push_back("end"); };
    container.updateLayout();
  }

  ParentControl parent{container, 50, 50, 200, 24};
  ButtonInputControl field{parent, 0, 120};
  std::vector<std::string> events;
};

TEST_F(ButtonInputControlTest, ATextBecomesTheValueThroughThePatternsFirstGroup) {
  struct Case {
    const char* pattern;
    const char* text;
    const char* value;
  };
  const Case cases[] = {
      {"([0-9]+)px", "12px", "12"},
      {"([0-9]+)px", "12px wide", "fallback"},  // the whole text must match
      {"([0-9]+)px", "", "fallback"},
      {"[a-z]+", "abc", ""},                    // no group: a match gives an empty value
      {"(x)?y", "y", ""},                       // a group that took no part
      {"(.)(.)", "\xe3\x81\x82\xe3\x81\x84", "\xe3\x81\x82"},  // units of wide characters
  };
  field.fallbackValue = "fallback";
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " on " + c.text);
    field.setPattern(c.pattern);
    events.clear();
    EXPECT_TRUE(field.setText(c.text, true, true));
    EXPECT_EQ(field.value, c.value);
    EXPECT_EQ(events, std::vector<std::string>{std::string("value ") + c.value});
  }
  events.clear();
  field.setText("7px", false, false);
  EXPECT_EQ(field.value, "fallback") << "the last pattern still applies";
  EXPECT_TRUE(events.empty()) << "no notice asked for";
}

TEST_F(ButtonInputControlTest, TypingTakesEveryMatchingTextAndTheFallbackWhenEmptied) {
  field.setPattern("([0-9]+)");
  field.fallbackValue = "0";
  field.setText("5", true, false);
  field.editTextChanged("5a");
  EXPECT_EQ(field.value, "5") << "a text that does not match is not taken";
  field.editTextChanged("");
  EXPECT_EQ(field.value, "0") << "emptied: the fallback at once";
  field.editTextChanged("42");
  EXPECT_EQ(field.value, "42");
  EXPECT_TRUE(field.editing);
  EXPECT_EQ(events, (std::vector<std::string>{"begin", "value 0", "value 42"}))
      << "one begin for the editing run";

  field.editing = false;
  field.fallbackValue.clear();
  events.clear();
  field.editTextChanged("");
  EXPECT_EQ(events, std::vector<std::string>{"begin"}) << "no fallback, no match: no value";
  EXPECT_EQ(field.value, "42");
}

TEST_F(ButtonInputControlTest, TheFaceShowsTheValueOrThePlaceholderInItsState) {
  EXPECT_EQ(field.face.fullRect, (Window::Rect{50, 50, 120, 24})) << "the face fills the field";
  auto textPixels = [] {
    int count = 0;
    for (int y = 50; y < 74; ++y)
      for (int x = 50; x < 170; ++x)
        count += pixel(x, y) != Colour::kBody && pixel(x, y) != Colour::kGrouping;
    return count;
  };
  field.procPaint();
  EXPECT_EQ(pixel(52, 52), Colour::kBody);
  EXPECT_EQ(textPixels(), 0) << "no value and no placeholder";
  field.placeholder = "none";
  field.procPaint();
  const int placeholder = textPixels();
  EXPECT_GT(placeholder, 0);
  field.value = "1920 x 1080";
  field.procPaint();
  EXPECT_GT(textPixels(), placeholder) << "the longer value instead";
  // Centred: as much text left of the middle as right of it, give or take a letter.
  int left = 0, right = 0;
  for (int y = 50; y < 74; ++y)
    for (int x = 50; x < 170; ++x)
      if (pixel(x, y) != Colour::kBody) (x < 110 ? left : right) += 1;
  EXPECT_NEAR(left, right, (left + right) / 4);

  move(60, 60);
  EXPECT_EQ(pixel(52, 52), Colour::kBodyHover);
  move(300, 250);
  field.enabled = false;
  field.procPaint();
  EXPECT_EQ(pixel(52, 52), Colour::kGrouping);
  EXPECT_EQ(textPixels(), 0) << "a disabled field shows an empty face";
}

}  // namespace
