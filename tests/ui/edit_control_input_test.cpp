// The edit control in the window: the pointer places the caret and selects, the focus and
// the Tab order of a focus group, scrolling, painting, the edit menu and the input method.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>

#include "tests/ui/edit_control_support.h"
#include "ui/menu_popup.h"

namespace {

using namespace EditTest;

class EditInputTest : public EditFixture {
 protected:
  // The window point of a text index's caret, in the middle of its line.
  QPoint pointOf(int32_t index) const {
    const auto box = edit.layout().hitTestTextPosition(index);
    return QPoint(edit.fullRect.x + 4 - edit.scrollX + static_cast<int>(box.left),
                  edit.fullRect.y + 4 - edit.scrollY + static_cast<int>(box.top + box.height / 2));
  }
  void clickAt(QPoint at) { click(at.x(), at.y()); }
  // Runs the loop until the condition holds; false when it did not within a few seconds.
  static bool runUntil(const std::function<bool()>& condition) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
      if (clock.elapsed() > 5000) return false;
      QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
  }
};

TEST_F(EditInputTest, AClickTakesTheFocusAndPlacesTheCaret) {
  setText(u"hello world\nsecond");
  click(edit.fullRect.x + 5, edit.fullRect.y + 10);
  EXPECT_TRUE(edit.focused);
  EXPECT_EQ(mice().focusTarget(), &edit);
  EXPECT_TRUE(edit.caretTimerRunning());
  EXPECT_EQ(edit.caret, 0);
  clickAt(pointOf(8) + QPoint(1, 0));
  EXPECT_EQ(edit.caret, 8) << "the near half of a character puts the caret before it";
  click(edit.fullRect.x + 190, pointOf(0).y());
  EXPECT_EQ(edit.caret, 11) << "beyond the line's end: before its break";
  click(edit.fullRect.x + 190, edit.fullRect.y + 55);
  EXPECT_EQ(edit.caret, 18) << "below the text: its last line";
  EXPECT_EQ(changes, 0);
}

TEST_F(EditInputTest, ShiftClickAndDragSelectFromTheAnchor) {
  setText(u"one two three");
  clickAt(pointOf(4));
  modifiers = Qt::ShiftModifier;
  clickAt(pointOf(7));
  modifiers = Qt::NoModifier;
  EXPECT_EQ(edit.selectStart, 4);
  EXPECT_EQ(edit.selectEnd, 7);

  now += 10'000;
  const QPoint from = pointOf(8), to = pointOf(13);
  press(from.x(), from.y());
  move(to.x() + 30, to.y());
  move(to.x() + 40, to.y());
  release(to.x() + 40, to.y());
  EXPECT_EQ(edit.selectStart, 8);
  EXPECT_EQ(edit.selectEnd, 13) << "a drag selects from the press";
}

TEST_F(EditInputTest, DoubleClicksSelectTheWordThenTheLine) {
  setText(u"first line\nalpha beta(gamma)\nlast");
  const QPoint at = pointOf(18);  // inside "beta"
  now += 10'000;
  press(at.x(), at.y());
  release(at.x(), at.y());
  now += 10;
  press(at.x(), at.y());
  release(at.x(), at.y());
  EXPECT_EQ(edit.selectStart, 17);
  EXPECT_EQ(edit.selectEnd, 21) << "the word between the delimiters";
  now += 10;
  press(at.x(), at.y());
  release(at.x(), at.y());
  EXPECT_EQ(edit.selectStart, 11);
  EXPECT_EQ(edit.selectEnd, 28) << "the selected word clicked again: its line";
}

TEST_F(EditInputTest, LosingTheFocusClearsTheSelectionAndStopsTheCaret) {
  setText(u"abc");
  edit.setFocus(true);
  EXPECT_EQ(mice().focusTarget(), &edit);
  type(EditControl::kSelectAll);
  ASSERT_EQ(edit.selectEnd, 3);
  mice().killFocus();
  EXPECT_FALSE(edit.focused);
  EXPECT_EQ(edit.selectEnd, 0);
  EXPECT_EQ(edit.anchor, edit.caret);
  EXPECT_FALSE(edit.caretTimerRunning());
}

TEST_F(EditInputTest, TabMovesTheFocusThroughTheGroupToMembersThatCanTakeIt) {
  EditControl second{parent, 0, 200}, third{parent, 0, 200};
  auto group = std::make_shared<Control::EditFocusGroup::Members>();
  edit.joinGroup(group);
  second.joinGroup(group);
  third.joinGroup(group);
  edit.setFocus(true);
  EXPECT_TRUE(type(EditControl::kTab));
  EXPECT_EQ(mice().focusTarget(), &second);
  EXPECT_FALSE(edit.focused);
  EXPECT_TRUE(second.procChar(EditControl::kTab));
  EXPECT_EQ(mice().focusTarget(), &third);
  modifiers = Qt::ShiftModifier;
  third.procChar(EditControl::kTab);
  modifiers = Qt::NoModifier;
  EXPECT_EQ(mice().focusTarget(), &second) << "Shift goes backwards";
  second.visible = false;
  third.enabled = false;
  edit.setFocus(true);
  EXPECT_FALSE(type(EditControl::kTab)) << "nobody else can take it";
  EXPECT_EQ(mice().focusTarget(), &edit);
  EXPECT_EQ(edit.text, u"") << "and no tab goes in";
  {
    EditControl gone{parent, 0, 200};
    gone.joinGroup(group);
  }
  EXPECT_TRUE(group->empty()) << "a member that goes away ends the group";
  EXPECT_FALSE(type(EditControl::kTab));
}

TEST_F(EditInputTest, TheScrollKeepsTheCaretInViewOrCentresAShortText) {
  setText(std::u16string(60, u'm'), 60);
  EXPECT_GT(edit.textWidth, edit.innerWidth());
  const auto end = edit.layout().hitTestTextPosition(60);
  EXPECT_LE(end.left - edit.scrollX, edit.innerWidth());
  EXPECT_GE(end.left - edit.scrollX, edit.innerWidth() - edit.marginX() - 1)
      << "the caret a margin inside the right edge";
  EXPECT_EQ(edit.scrollX, std::min(static_cast<int32_t>(end.left) + edit.marginX() -
                                       edit.innerWidth(),
                                   edit.marginX() / 2 + edit.textWidth - edit.innerWidth()));
  keyDown(Key::kHome);
  EXPECT_EQ(edit.scrollX, 0);

  edit.centerHorizontally = edit.centerVertically = true;
  setText(u"ab", 1);
  EXPECT_EQ(edit.scrollX, (edit.textWidth - edit.innerWidth()) / 2);
  EXPECT_LT(edit.scrollX, 0);
  EXPECT_EQ(edit.scrollY, (edit.textHeight - edit.innerHeight()) / 2);
  EXPECT_LT(edit.scrollY, 0);
}

TEST_F(EditInputTest, ANarrowEditScrollsTheCaretToItsMargin) {
  EditControl narrow{parent, 0, 8};
  narrow.text = u"abcdef";
  narrow.caret = 4;
  narrow.updateTextLayout();
  narrow.updateScroll();
  EXPECT_EQ(narrow.innerWidth(), 0);
  EXPECT_EQ(narrow.marginX(), 2);
  const auto box = narrow.layout().hitTestTextPosition(4);
  EXPECT_EQ(narrow.scrollX, static_cast<int32_t>(std::floor(box.left)) - 2);
}

TEST_F(EditInputTest, TheScrollCallbackHearsEachComputedPosition) {
  std::vector<int32_t> positions;
  edit.scrollCallback = [&](EditControl& e) { positions.push_back(e.scrollX); };
  setText(std::u16string(60, u'm'), 60);
  ASSERT_EQ(positions.size(), 1u);
  EXPECT_GT(positions.back(), 0);
}

TEST_F(EditInputTest, PaintingShowsTheFocusTheSelectionAndTheBlinkingCaret) {
  setText(u"mmmm mmmm");
  edit.procPaint();
  EXPECT_EQ(pixel(50, 80), Colour::kBorder);
  EXPECT_EQ(pixel(55, 105), Colour::kBackground);
  edit.setFocus(true);
  EXPECT_EQ(pixel(50, 80), Colour::kBorderFocus);

  select(0, 4);
  edit.procPaint();
  const auto box = edit.layout().hitTestTextPosition(2);
  const int y = 54 + static_cast<int>(box.top + box.height / 2);
  EXPECT_TRUE(anyPixel(54, y - 3, 54 + static_cast<int>(box.left) + 8, y + 3, kTextSelect));
  const auto after = edit.layout().hitTestTextPosition(6);
  EXPECT_FALSE(anyPixel(54 + static_cast<int>(after.left), y - 3,
                        54 + static_cast<int>(after.left) + 5, y + 3, kTextSelect))
      << "only the selected part";

  setText(u"m m", 1);
  edit.procPaint();
  const auto caretBox = edit.layout().hitTestTextPosition(1);
  const int caretX = 54 + static_cast<int>(std::floor(caretBox.left));
  const int caretY = 54 + static_cast<int>(caretBox.top + caretBox.height / 2);
  // The caret sits between "m" and a space: its strip is text coloured only while shown.
  EXPECT_EQ(pixel(caretX, caretY), Colour::kText);
  edit.drawCursor(false);
  EXPECT_NE(pixel(caretX, caretY), Colour::kText);
  edit.drawCursor(true);
  EXPECT_EQ(pixel(caretX, caretY), Colour::kText);
  mice().killFocus();
  EXPECT_NE(pixel(caretX, caretY), Colour::kText) << "no caret without the focus";
}

TEST_F(EditInputTest, TheCaretBlinksByRedrawingOnlyItsStrip) {
  ScopedSettings settings;
  settings.get().system.caretBlinkTime = 10;
  setText(u"m m", 1);
  edit.setFocus(true);
  const auto box = edit.layout().hitTestTextPosition(1);
  const int caretX = 54 + static_cast<int>(std::floor(box.left));
  const int caretY = 54 + static_cast<int>(box.top + box.height / 2);
  ASSERT_EQ(pixel(caretX, caretY), Colour::kText);
  // A mark beside the caret that only a full repaint would wipe out.
  {
    Media::SolidColorBrush mark(colourOf(Colour::kZoomGauge));
    Media::RenderTarget::DrawScope scope(service().renderTarget(), caretX + 1, caretY,
                                         caretX + 2, caretY + 1, true);
    service().renderTarget().fillRectangle(0, 0, 1, 1, mark);
  }
  ASSERT_TRUE(runUntil([&] { return !edit.caretPhase; }));
  EXPECT_NE(pixel(caretX, caretY), Colour::kText);
  EXPECT_EQ(pixel(caretX + 1, caretY), Colour::kZoomGauge) << "only the strip was redrawn";
  ASSERT_TRUE(runUntil([&] { return edit.caretPhase; }));
  EXPECT_EQ(pixel(caretX, caretY), Colour::kText);
  mice().killFocus();
  EXPECT_FALSE(edit.caretTimerRunning());
}

TEST_F(EditInputTest, ADragBeyondTheEdgeScrollsTheText) {
  std::vector<int32_t> positions;
  edit.scrollCallback = [&](EditControl& e) { positions.push_back(e.scrollX); };
  setText(std::u16string(80, u'm'));
  positions.clear();
  now += 10'000;
  press(60, 70);
  move(100, 70);
  move(250 + 60, 70);  // 60 beyond the right edge: 15 pixels a move
  EXPECT_EQ(edit.scrollX, 15);
  move(250 + 61, 70);
  EXPECT_EQ(edit.scrollX, 30);
  EXPECT_EQ(positions, (std::vector<int32_t>{15, 30})) << "each change is told";
  EXPECT_GT(edit.selectEnd, 0);
  for (int i = 0; i < 200; ++i) move(250 + 60 + (i % 2), 70);
  EXPECT_EQ(edit.scrollX, edit.textWidth + edit.marginX() / 2 - edit.innerWidth())
      << "no further than the text's end";
  EXPECT_EQ(edit.caret, edit.length);
  const std::size_t told = positions.size();
  move(250 + 60, 70);
  EXPECT_EQ(positions.size(), told) << "an unchanged position is not told";
  release(250 + 60, 70);
}

TEST_F(EditInputTest, TheWheelGoesToTheScrollBarWhileTheEditHasTheFocus) {
  WindowTest::Probe bar("bar", {260, 50, 10, 60}, 0, log);
  bar.acceptsWheel = false;
  edit.scrollBar = &bar;
  wheel(100, 70, 120);
  EXPECT_TRUE(log.empty()) << "an edit without the focus takes no wheel";
  click(100, 70);
  EXPECT_TRUE(edit.acceptsWheel);
  wheel(100, 70, 120);
  EXPECT_EQ(log, std::vector<std::string>{"bar wheel 120"});
  mice().killFocus();
  EXPECT_FALSE(edit.acceptsWheel);
  edit.scrollBar = nullptr;
}

TEST_F(EditInputTest, ThePointerIsAnIBeamOverTheFocusedEditAndHiddenWhileTyping) {
  move(100, 70);
  EXPECT_EQ(mice().appliedCursor(), Window::MouseCursor::Arrow);
  click(100, 70);
  move(101, 70);
  EXPECT_EQ(mice().appliedCursor(), Window::MouseCursor::IBeam);
  key(Qt::Key_A, "a");
  EXPECT_EQ(mice().appliedCursor(), Window::MouseCursor::Hidden);
  move(102, 70);
  EXPECT_EQ(mice().appliedCursor(), Window::MouseCursor::IBeam) << "back when it moves";
}

TEST_F(EditInputTest, TheEditMenuOffersWhatTheSelectionAllows) {
  auto texts = [&] {
    Window::PopupMenu menu;
    edit.createEditMenu(menu);
    std::vector<std::string> result;
    for (QAction* action : menu.menu()->actions()) result.push_back(action->text().toStdString());
    return result;
  };
  setText(u"abc");
  EXPECT_EQ(texts(), (std::vector<std::string>{"貼り付け", "すべてを選択"}));
  select(0, 2);
  EXPECT_EQ(texts(), (std::vector<std::string>{"切り取り", "コピー", "貼り付け", "削除"}));

  // Choosing an item sends its command: "削除" deletes the selection.
  Window::PopupMenu menu;
  edit.createEditMenu(menu);
  EXPECT_TRUE(menu.runCommand(Window::RootMenu::kFirstCommandId + 3));
  EXPECT_EQ(edit.text, u"c");
}

TEST_F(EditInputTest, TheInputMethodComposesAtTheCaretInTheFieldsFont) {
  setText(u"abc", 2);
  edit.setFocus(true);
  bool on = false;
  EXPECT_TRUE(edit.procFocusIme(on));
  EXPECT_TRUE(on);
  const auto box = edit.layout().hitTestTextPosition(2);
  const Window::WindowMouseService::ImeComposition at = mice().imeComposition();
  EXPECT_EQ(at.x, 50 + static_cast<int32_t>(std::lround(box.left)) + 4);
  EXPECT_EQ(at.y, 50 + static_cast<int32_t>(std::lround(box.top)) + 5);
  EXPECT_EQ(at.area, edit.fullRect);
  EXPECT_EQ(mice().imeFontFamily(), edit.font->format.get()->family);
  const QRect reported = window()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
  EXPECT_EQ(reported.topLeft(), QPoint(at.x, at.y)) << "the window tells the input method";

  keyDown(Key::kRight);
  EXPECT_GT(mice().imeComposition().x, at.x) << "caret moves carry the composition along";
}

}  // namespace
