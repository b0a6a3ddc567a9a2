// The edit control's text editing: line breaks, caret moves over lines and surrogate pairs,
// deletion, the clipboard commands, the input pattern and what each step tells the owner.
#include "tests/ui/edit_control_support.h"

namespace {

using namespace EditTest;

// U+1F600, two UTF-16 units.
const std::u16string kPair = u"\U0001F600";

class EditControlTest : public EditFixture {};

TEST_F(EditControlTest, LineBreaksBecomeSingleLineFeedsAtTheLayoutUpdate) {
  struct Case {
    std::u16string text;
    std::u16string stored;
  };
  const Case cases[] = {
      {u"a\r\nb", u"a\nb"}, {u"a\rb", u"a\nb"}, {u"\r\n\r\r\n", u"\n\n\n"}, {u"a\n\rb", u"a\n\nb"}};
  for (const Case& c : cases) {
    setText(c.text, 99);
    EXPECT_EQ(edit.text, c.stored);
    EXPECT_EQ(edit.length, static_cast<int32_t>(c.stored.size()));
    EXPECT_EQ(edit.caret, edit.length) << "the caret is clamped into the text";
  }
}

TEST_F(EditControlTest, LeftAndRightStepOverASurrogatePairAsOneCharacter) {
  setText(u"a" + kPair + u"b", 3);
  ASSERT_TRUE(keyDown(Key::kLeft));
  EXPECT_EQ(edit.caret, 1) << "over both units";
  keyDown(Key::kRight);
  EXPECT_EQ(edit.caret, 3);
  keyDown(Key::kLeft);
  keyDown(Key::kLeft);
  keyDown(Key::kLeft);
  EXPECT_EQ(edit.caret, 0) << "and stays at the start";
  EXPECT_EQ(changes, 0) << "caret moves change nothing";
}

TEST_F(EditControlTest, BackspaceAndDeleteRemoveASurrogatePairWhole) {
  setText(u"a" + kPair + u"b", 3);
  type(EditControl::kBackspace);
  EXPECT_EQ(edit.text, u"ab");
  EXPECT_EQ(edit.caret, 1);
  setText(u"a" + kPair + u"b", 1);
  type(EditControl::kDelete);
  EXPECT_EQ(edit.text, u"ab");
  EXPECT_EQ(edit.caret, 1);
  setText(u"ab", 0);
  type(EditControl::kBackspace);
  EXPECT_EQ(edit.text, u"ab") << "nothing before the caret";
  EXPECT_EQ(changes, 3) << "each still finishes an edit";
}

TEST_F(EditControlTest, HomeAndEndWorkPerLineAndOnTheWholeTextWithControl) {
  struct Case {
    int32_t key;
    Qt::KeyboardModifiers held;
    int32_t caret;
  };
  // "ab\ncde\nf" with the caret between "c" and "d" (index 4).
  const Case cases[] = {{Key::kHome, Qt::NoModifier, 3},
                        {Key::kEnd, Qt::NoModifier, 6},
                        {Key::kHome, Qt::ControlModifier, 0},
                        {Key::kEnd, Qt::ControlModifier, 8}};
  for (const Case& c : cases) {
    setText(u"ab\ncde\nf", 4);
    keyDown(c.key, c.held);
    EXPECT_EQ(edit.caret, c.caret) << "key " << c.key << " modifiers " << c.held;
  }
  setText(u"ab\ncd", 5);
  keyDown(Key::kHome);
  EXPECT_EQ(edit.caret, 3);
  setText(u"ab\n", 3);
  keyDown(Key::kHome);
  EXPECT_EQ(edit.caret, 3) << "the empty last line starts after the break";
}

TEST_F(EditControlTest, UpAndDownMoveBetweenLinesAndStopAtTheEdges) {
  setText(u"abc\nabc\nabc", 1);
  keyDown(Key::kDown);
  EXPECT_EQ(edit.caret, 5) << "same column one line down";
  keyDown(Key::kDown);
  EXPECT_EQ(edit.caret, 9);
  keyDown(Key::kDown);
  EXPECT_EQ(edit.caret, 9) << "no line below";
  keyDown(Key::kNext);
  EXPECT_EQ(edit.caret, 9) << "page down on the last line";
  keyDown(Key::kUp);
  EXPECT_EQ(edit.caret, 5);
  ASSERT_GE(edit.linesPerPage(), 2);
  keyDown(Key::kPrior);
  EXPECT_EQ(edit.caret, 5) << "a page up beyond the first line does not move";
  keyDown(Key::kUp);
  EXPECT_EQ(edit.caret, 1);
  keyDown(Key::kUp);
  EXPECT_EQ(edit.caret, 1) << "no line above";
  setText(u"abcdef\nab", 5);
  keyDown(Key::kDown);
  EXPECT_EQ(edit.caret, 9) << "a shorter line: its end";
}

TEST_F(EditControlTest, ShiftExtendsTheSelectionFromTheAnchorAndAPlainMoveClearsIt) {
  setText(u"hello world", 5);
  keyDown(Key::kRight, Qt::ShiftModifier);
  keyDown(Key::kRight, Qt::ShiftModifier);
  EXPECT_EQ(edit.selectStart, 5);
  EXPECT_EQ(edit.selectEnd, 7);
  keyDown(Key::kHome, Qt::ShiftModifier);
  EXPECT_EQ(edit.selectStart, 0) << "across the anchor";
  EXPECT_EQ(edit.selectEnd, 5);
  keyDown(Key::kEnd, Qt::ShiftModifier);
  keyDown(Key::kLeft, Qt::ShiftModifier);
  keyDown(Key::kLeft, Qt::ShiftModifier);
  keyDown(Key::kLeft, Qt::ShiftModifier);
  keyDown(Key::kLeft, Qt::ShiftModifier);
  keyDown(Key::kLeft, Qt::ShiftModifier);
  keyDown(Key::kLeft, Qt::ShiftModifier);
  EXPECT_EQ(edit.selectStart, 0) << "back on the anchor: no selection";
  EXPECT_EQ(edit.selectEnd, 0);
  keyDown(Key::kRight, Qt::ShiftModifier);
  keyDown(Key::kRight);
  EXPECT_EQ(edit.selectEnd, 0) << "a plain move clears it";
  EXPECT_EQ(edit.anchor, edit.caret);
}

TEST_F(EditControlTest, TheEditKeysRunTheClipboardCommands) {
  System::Clipboard::setText("-");
  setText(u"abcdef", 0);
  select(1, 3);
  EXPECT_TRUE(keyDown(Key::kInsert, Qt::ControlModifier));
  EXPECT_EQ(clipboard(), "bc") << "Ctrl+Insert copies";
  EXPECT_EQ(edit.text, u"abcdef");
  EXPECT_EQ(changes, 0) << "a copy changes nothing";

  EXPECT_TRUE(keyDown(Key::kDelete, Qt::ShiftModifier));
  EXPECT_EQ(clipboard(), "bc") << "Shift+Delete cuts a selection";
  EXPECT_EQ(edit.text, u"adef");
  EXPECT_EQ(edit.caret, 1);

  keyDown(Key::kDelete, Qt::ShiftModifier);
  EXPECT_EQ(edit.text, u"def") << "without a selection it deletes backwards";
  EXPECT_EQ(clipboard(), "bc");

  System::Clipboard::setText("XY");
  keyDown(Key::kEnd);
  EXPECT_TRUE(keyDown(Key::kInsert, Qt::ShiftModifier));
  EXPECT_EQ(edit.text, u"defXY") << "Shift+Insert pastes at the caret";
  EXPECT_EQ(edit.caret, 5);
  EXPECT_FALSE(keyDown(Key::kInsert)) << "plain Insert is not the edit's";
  EXPECT_FALSE(keyDown('A')) << "nor a letter key (its character comes apart)";
  EXPECT_EQ(changes, 3);
}

TEST_F(EditControlTest, CharactersReplaceTheSelectionAndPassThePattern) {
  struct Case {
    const wchar_t* pattern;  // null: none
    char32_t typed;
    std::u16string text;
    int32_t caret;
  };
  // "12345" with "23" selected, one character typed.
  const Case cases[] = {
      {nullptr, U'x', u"1x45", 2},
      {L"[0-9]", U'7', u"1745", 2},
      {L"[0-9]", U'x', u"145", 1},  // rejected, the selection is gone all the same
      {nullptr, EditControl::kEnter, u"1\n45", 2},
      {nullptr, EditControl::kTab, u"1\t45", 2},  // no focus group: a tab character
      {nullptr, U'\U0001F600', u"1" + kPair + u"45", 3},
      {nullptr, 0x02, u"12345", 3},  // a control character without a meaning does nothing
  };
  for (const Case& c : cases) {
    setText(u"12345");
    select(1, 3);
    if (c.pattern) edit.inputPattern.emplace(c.pattern);
    else edit.inputPattern.reset();
    changes = 0;
    EXPECT_TRUE(type(c.typed));
    EXPECT_EQ(edit.text, c.text) << "typed " << static_cast<uint32_t>(c.typed);
    EXPECT_EQ(edit.caret, c.caret);
    EXPECT_EQ(changes, c.typed == 0x02 ? 0 : 1);
  }
}

TEST_F(EditControlTest, PasteKeepsOnlyWhatThePatternMatches) {
  struct Case {
    const char* clipboard;
    std::u16string text;
    int32_t caret;
  };
  // "ab|cd" with "b" selected, the pattern single digits.
  const Case cases[] = {
      {"x1y22z3", u"a1223cd", 5},
      {"xyz", u"acd", 1},  // nothing inserted, the selection replaced all the same
      {"4\r\n5", u"a45cd", 3},
  };
  edit.inputPattern.emplace(L"[0-9]");
  for (const Case& c : cases) {
    setText(u"abcd");
    select(1, 2);
    System::Clipboard::setText(c.clipboard);
    type(EditControl::kPaste);
    EXPECT_EQ(edit.text, c.text) << c.clipboard;
    EXPECT_EQ(edit.caret, c.caret);
  }
  edit.inputPattern.reset();
  setText(u"ab", 1);
  System::Clipboard::setText("x\r\ny\rz");
  type(EditControl::kPaste);
  EXPECT_EQ(edit.text, u"ax\ny\nzb") << "line breaks of the clipboard become LFs";
  EXPECT_EQ(edit.caret, 6) << "and the caret stands right after the pasted text";
}

TEST_F(EditControlTest, ControlDeleteRemovesToTheLineEnd) {
  setText(u"abc\ndef", 1);
  type(EditControl::kDelete, Qt::ControlModifier);
  EXPECT_EQ(edit.text, u"a\ndef");
  type(EditControl::kDelete);
  EXPECT_EQ(edit.text, u"adef") << "then the break itself";
}

TEST_F(EditControlTest, SelectAllSelectsTheWholeTextWithoutAChange) {
  setText(u"abc", 1);
  EXPECT_TRUE(type(EditControl::kSelectAll));
  EXPECT_EQ(edit.selectStart, 0);
  EXPECT_EQ(edit.selectEnd, 3);
  setText(u"");
  type(EditControl::kSelectAll);
  EXPECT_EQ(edit.selectEnd, 0) << "an empty text has nothing to select";
  EXPECT_EQ(changes, 0);
}

TEST_F(EditControlTest, DeleteTextClampsItsRangeAndKeepsTheCaretOnItsCharacter) {
  struct Case {
    int32_t from, to, caret;
    std::u16string text;
    int32_t after;
  };
  const Case cases[] = {
      {1, 3, 5, u"adef", 3},    // after the range: moves back by its length
      {1, 3, 2, u"adef", 1},    // inside it: to its start
      {2, 4, 1, u"abef", 1},    // before it: stays
      {-5, 2, 4, u"cdef", 2},   // from clamped to 0
      {4, 99, 6, u"abcd", 4},   // to clamped to the length
      {3, 1, 4, u"abcdef", 4},  // to below from: nothing
  };
  for (const Case& c : cases) {
    setText(u"abcdef", c.caret);
    edit.deleteText(c.from, c.to);
    EXPECT_EQ(edit.text, c.text) << c.from << ".." << c.to;
    EXPECT_EQ(edit.caret, c.after);
    EXPECT_EQ(edit.length, static_cast<int32_t>(c.text.size()));
  }
}

TEST_F(EditControlTest, AKeyHookTakesTheKeyAndItsCharacters) {
  std::vector<int32_t> hooked;
  edit.keyHook = [&](int32_t key) {
    hooked.push_back(key);
    return key == Key::kReturn;
  };
  edit.setFocus(true);
  key(Qt::Key_Return, "\r");
  EXPECT_EQ(edit.text, u"") << "the Enter's character went nowhere";
  key(Qt::Key_A, "a");
  EXPECT_EQ(edit.text, u"a") << "keys the hook leaves come through";
  EXPECT_EQ((hooked), (std::vector<int32_t>{Key::kReturn, 'A'}));
}

TEST_F(EditControlTest, TheInputMethodsTextGoesInThroughThePattern) {
  setText(u"ab");
  select(0, 1);
  edit.inputPattern.emplace(L"[^x]");
  edit.procImeString(U"x\u3042y\U0001F600");
  EXPECT_EQ(edit.text, u"\u3042y" + kPair + u"b");
  EXPECT_EQ(edit.caret, 4);
  EXPECT_EQ(changes, 1);
}

}  // namespace
