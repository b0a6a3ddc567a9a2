// The selection clicks' input as the window's dispatcher answers it: the capture a press
// gives, how it ends, the Ctrl key and the multi-select mode.
#include "ui/mouse_selection_input.h"

#include <QKeyEvent>

#include "tests/ui/window_input_support.h"
#include "ui/qt_edit_ui.h"

namespace {

using Window::inputTargetOf;
using WindowTest::Probe;

// A probe that also logs the end of its capture.
class Row : public Probe {
 public:
  using Probe::Probe;
  void procKeyRelease() override { released = true; }
  bool released = false;
};

class MouseSelectionInputTest : public WindowTest::WindowFixture {
 protected:
  MouseSelectionInputTest() {
    mice().setModifierReader([this] { return modifiers; });
  }
  static void keyRelease(Qt::Key code) {
    QKeyEvent event(QEvent::KeyRelease, code, Qt::NoModifier);
    QApplication::sendEvent(window(), &event);
  }

  Window::MouseSelectionInput input;
  Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

TEST_F(MouseSelectionInputTest, APressThatSelectsHoldsTheCaptureUntilCtrlGoesUp) {
  Row row("row", {0, 0, 100, 20}, 1, log);
  EXPECT_EQ(input.captureOwner(), nullptr);
  EXPECT_EQ(input.captureMode(), 0);

  // The row's press selects an object, as the timeline's does.
  row.onDown = [&] {
    if (!input.captureOwner())
      input.giveCapture(inputTargetOf(&row), Edit::kCaptureUntilControlUp);
  };
  press(10, 10);
  release(10, 10);
  EXPECT_EQ(mice().keyWatchTarget(), &row);
  EXPECT_EQ(input.captureOwner(), inputTargetOf(&row));
  EXPECT_EQ(input.captureMode(), Edit::kCaptureUntilControlUp);

  keyRelease(Qt::Key_Shift);
  EXPECT_FALSE(row.released) << "another key leaves the capture";
  keyRelease(Qt::Key_Control);
  EXPECT_TRUE(row.released);
  EXPECT_EQ(input.captureOwner(), nullptr);
  EXPECT_EQ(input.captureMode(), 0);
}

TEST_F(MouseSelectionInputTest, CtrlIsReadFromTheKeyboardAlsoWhenTheWindowComesBack) {
  Row row("row", {0, 0, 100, 20}, 1, log);
  // The edit commands' own question about Ctrl reads the same keyboard.
  Window::QtEditUi editUi;
  EXPECT_FALSE(input.isControlKeyDown());
  modifiers = Qt::ShiftModifier;
  EXPECT_FALSE(input.isControlKeyDown());
  EXPECT_FALSE(editUi.isControlKeyDown());
  modifiers = Qt::ControlModifier | Qt::ShiftModifier;
  EXPECT_TRUE(input.isControlKeyDown());
  EXPECT_TRUE(editUi.isControlKeyDown());

  // Ctrl let go in another window: the capture ends when this one is active again.
  input.giveCapture(inputTargetOf(&row), Edit::kCaptureUntilControlUp);
  mice().activate(true);
  EXPECT_FALSE(row.released) << "Ctrl still down";
  modifiers = Qt::NoModifier;
  mice().activate(true);
  EXPECT_TRUE(row.released);
  EXPECT_EQ(input.captureOwner(), nullptr);
}

TEST_F(MouseSelectionInputTest, MultiSelectModeLastsWhileAControlHoldsTheFocus) {
  Row edit("edit", {0, 0, 100, 20}, 1, log);
  Row row("row", {0, 40, 100, 20}, 1, log);
  EXPECT_FALSE(input.isMultiSelect());
  edit.onDown = [&] { edit.takeFocus(); };
  press(10, 10);
  release(10, 10);
  EXPECT_TRUE(input.isMultiSelect());

  input.giveCapture(inputTargetOf(&row), Edit::kCaptureUntilFocusLeaves);
  EXPECT_EQ(input.captureMode(), Edit::kCaptureUntilFocusLeaves);
  press(10, 50);  // the focus leaves the edit before the row hears of the press
  release(10, 50);
  EXPECT_TRUE(row.released);
  EXPECT_FALSE(input.isMultiSelect());
  EXPECT_EQ(input.captureOwner(), nullptr);
}

}  // namespace
