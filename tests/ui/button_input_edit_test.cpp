// The button input field's edit mode: the face gives way to an edit of the value, typing
// sets the value while it matches, and focus loss, Enter or Escape bring the face back, each
// editing run with changes bracketed by one begin and one end.
#include "ui/controls/button_input_control.h"

#include "tests/ui/control_test_support.h"

namespace {

using namespace ControlTest;
using Control::ButtonInputControl;

class ButtonInputEditTest : public ControlFixture {
 protected:
  ButtonInputEditTest() {
    for (ButtonInputControl* f : {&field, &other}) {
      f->setPattern("([0-9]+)");
      f->valueChangedCallback = [this](ButtonInputControl& c) { events.push_back("value " + c.value); };
      f->editBeginCallback = [this](ButtonInputControl&) { events.push_back("begin"); };
      f->editEndCallback = [this](ButtonInputControl&) { events.push_back("end"); };
    }
    field.setText("12", true, false);
    container.updateLayout();
  }

  void clickFace() { click(60, 60); }

  ParentControl parent{container, 50, 50, 300, 24};
  ButtonInputControl field{parent, 0, 120};
  ButtonInputControl other{parent, 150, 120};
  std::vector<std::string> events;
};

TEST_F(ButtonInputEditTest, APressOnTheFaceEditsTheValueAllSelected) {
  clickFace();
  EXPECT_FALSE(field.face.visible);
  EXPECT_TRUE(field.edit.visible);
  EXPECT_EQ(mice().focusTarget(), &field.edit);
  EXPECT_EQ(field.edit.text, u"12");
  EXPECT_EQ(field.edit.selectStart, 0);
  EXPECT_EQ(field.edit.selectEnd, 2);
  EXPECT_EQ(field.edit.caret, 2);
  EXPECT_TRUE(field.edit.caretTimerRunning());
  EXPECT_TRUE(field.edit.centerHorizontally && field.edit.centerVertically);
  EXPECT_EQ(field.edit.font, field.font);
  EXPECT_TRUE(events.empty()) << "entering alone opens no editing run";
}

TEST_F(ButtonInputEditTest, EnterEscapeAndFocusLossEachLeaveEditMode) {
  const std::function<void()> leaves[] = {
      [this] { key(Qt::Key_Return, "\r"); },
      [this] { key(Qt::Key_Escape, "\x1b"); },
      [this] { click(300, 250); },  // elsewhere
  };
  for (const auto& leave : leaves) {
    clickFace();
    ASSERT_TRUE(field.edit.visible);
    leave();
    EXPECT_TRUE(field.face.visible);
    EXPECT_FALSE(field.edit.visible);
    EXPECT_EQ(mice().focusTarget(), nullptr);
    EXPECT_FALSE(field.edit.caretTimerRunning());
    EXPECT_EQ(field.value, "12") << "the Enter or Escape typed nothing";
  }
  EXPECT_TRUE(events.empty()) << "no typing: neither begin nor end";
}

TEST_F(ButtonInputEditTest, TypingSetsEveryMatchingValueAndEscapeKeepsIt) {
  clickFace();
  key(Qt::Key_4, "4");
  EXPECT_EQ(field.value, "4") << "the typed digit replaced the selection";
  key(Qt::Key_X, "x");
  EXPECT_EQ(field.value, "4") << "4x does not match";
  key(Qt::Key_Backspace, "\b");
  key(Qt::Key_2, "2");
  EXPECT_EQ(field.value, "42");
  key(Qt::Key_Escape, "\x1b");
  EXPECT_EQ(field.value, "42") << "nothing is restored";
  EXPECT_EQ(events, (std::vector<std::string>{"begin", "value 4", "value 4", "value 42", "end"}));
}

TEST_F(ButtonInputEditTest, ClearingTheEditTakesTheFallbackAtOnce) {
  field.fallbackValue = "0";
  clickFace();
  key(Qt::Key_Delete);
  EXPECT_EQ(field.edit.text, u"");
  EXPECT_EQ(field.value, "0");
}

TEST_F(ButtonInputEditTest, SetTextCopiesTheValueIntoTheEditWhenAsked) {
  field.setText("a7", true, false);
  EXPECT_EQ(field.value, "");
  EXPECT_EQ(field.edit.text, u"") << "the value, not the text";
  field.setText("77", false, false);
  EXPECT_EQ(field.edit.text, u"");
  field.setText("77", true, false);
  EXPECT_EQ(field.edit.text, u"77");
}

TEST_F(ButtonInputEditTest, TabMovesBetweenFieldsAndSkipsADisabledOne) {
  auto group = std::make_shared<Control::EditFocusGroup::Members>();
  field.edit.joinGroup(group);
  other.edit.joinGroup(group);
  other.setText("5", true, false);
  clickFace();
  key(Qt::Key_Tab, "\t");
  EXPECT_TRUE(field.face.visible) << "the first field left edit mode";
  EXPECT_TRUE(other.edit.visible) << "the second entered it";
  EXPECT_EQ(mice().focusTarget(), &other.edit);
  EXPECT_EQ(other.edit.selectEnd, 1);
  key(Qt::Key_Tab, "\t");
  EXPECT_EQ(mice().focusTarget(), &field.edit);

  other.enabled = false;
  EXPECT_FALSE(other.edit.canFocus());
  key(Qt::Key_Tab, "\t");
  EXPECT_EQ(mice().focusTarget(), &field.edit) << "the disabled field is skipped";
  EXPECT_EQ(field.edit.text, u"12") << "and no tab went in";
  key(Qt::Key_Escape, "\x1b");
  field.enabled = false;
  clickFace();
  EXPECT_TRUE(field.face.visible) << "a disabled face does not edit";
  EXPECT_EQ(mice().focusTarget(), nullptr);
}

TEST_F(ButtonInputEditTest, ANewPressWhileARunIsOpenClosesItFirst) {
  clickFace();
  key(Qt::Key_3, "3");
  ASSERT_TRUE(field.editing);
  field.enterEditMode();
  EXPECT_FALSE(field.editing);
  EXPECT_EQ(events, (std::vector<std::string>{"begin", "value 3", "end"}));
  EXPECT_EQ(field.edit.selectEnd, 1) << "the value selected anew";
}

}  // namespace
