#pragma once
// The program's own text field: a multi-line text drawn into the window's render target with
// a blinking caret, a selection, keyboard and mouse editing, the clipboard and a right-button
// edit menu, input-method text placed at the caret, scrolling that keeps the caret in view,
// an optional pattern that filters what is typed or pasted, and Tab between the fields of a
// focus group. It has no window of its own: keys, characters and input-method text come from
// the input dispatcher.
//
// The text is UTF-16 and every index (caret, selection, anchor) counts UTF-16 units; line
// breaks are single LF characters. Owners set the fields directly, then call
// updateTextLayout and updateScroll.
#include <cstdint>
#include <functional>
#include <optional>
#include <regex>
#include <string>

#include "gpu/text/text_format.h"
#include "system/timer.h"
#include "ui/controls/edit_focus_group.h"
#include "ui/controls/edit_text_layout.h"
#include "ui/window_control.h"

namespace Window {
class PopupMenu;
}

namespace Control {

class EditControl : public Window::WindowControlRenderTarget, public EditFocusGroup {
 public:
  using Callback = std::function<void(EditControl&)>;
  using KeyHook = std::function<bool(int32_t key)>;

  // The characters the edit commands travel as (the keys and the edit menu send them).
  static constexpr char16_t kSelectAll = 1, kCopy = 3, kBackspace = 8, kTab = 9, kEnter = 13,
                            kPaste = 22, kCut = 24, kDelete = 127;

  // At (0, 0) filling the container.
  explicit EditControl(Window::WindowControlContainer& container);
  // At (x, 0), `w` wide and as tall as the parent.
  EditControl(Window::WindowControl& parent, int32_t x, int32_t w);
  ~EditControl() override;

  // Line breaks to LF, the caret into the text, the layout and its size anew.
  void updateTextLayout();
  // The scroll position that keeps the caret in view; then the scroll callback.
  void updateScroll();
  // Moves the input method's composition window to the caret (while focused).
  void updateImePosition();
  // The index at a point in text coordinates (after the character on its trailing half).
  int32_t getTextPosition(float x, float y) const;
  void editCursorUp(int32_t lines);
  void editCursorDown(int32_t lines);
  // Removes [from, to), both clamped into the text; the caret keeps its place in the text.
  void deleteText(int32_t from, int32_t to);
  void drawCursor(bool visible);
  void drawSelectRange();

  // The text as UTF-8, for owners that keep their texts so.
  std::string textUtf8() const;
  void setTextUtf8(std::string_view utf8);

  // EditFocusGroup
  void setFocus(bool on) override;
  bool canFocus() override { return visible && enabled; }

  void procMouseMove(int32_t x, int32_t y) override;
  void procMouseDrag(int32_t x, int32_t y) override;
  void procLButtonDown(int32_t x, int32_t y) override;
  void procRButtonDown(int32_t x, int32_t y) override;
  void procMouseWheel(int32_t x, int32_t y, int32_t delta) override;
  bool procKeyDown(int32_t key) override;
  bool procChar(char32_t character) override;
  void procImeString(const std::u32string& text) override;
  void procKillFocus(Window::WindowMouse* newTarget) override;
  bool procFocusIme(bool& inputMethodOn) override;
  void procPaint() override;
  // Fills the right-button menu with the edit commands.
  virtual void createEditMenu(Window::PopupMenu& menu);

  int32_t selectStart = 0;  // start <= end; equal (both 0) means no selection
  int32_t selectEnd = 0;
  int32_t scrollX = 0;  // pixels scrolled out at the left and top; negative while centred
  int32_t scrollY = 0;
  Resource::TextFormatResource* font;
  std::u16string text;
  int32_t caret = 0;
  int32_t anchor = 0;  // the fixed end of a Shift selection
  int32_t length = 0;
  int32_t textWidth = 0;
  int32_t textHeight = 0;
  bool centerHorizontally = false;
  bool centerVertically = false;
  bool caretPhase = true;  // true while the caret is drawn
  bool rightButtonMenu = false;  // while focused the edit takes the right button (its menu)
  // The bar that scrolls the edit; it takes the edit's wheel. Set by the bar.
  Window::WindowMouse* scrollBar = nullptr;
  const Media::Brush* backgroundBrush = nullptr;  // none: the style's Background
  Callback changeCallback;
  Callback scrollCallback;
  KeyHook keyHook;  // sees every key first; true takes it (and drops its characters)
  std::optional<std::wregex> inputPattern;

  // The geometry of the text area: the control inset by 4 on every side.
  int32_t innerWidth() const;
  int32_t innerHeight() const;
  int32_t marginX() const;
  int32_t marginY() const;
  int32_t linesPerPage() const;
  const EditTextLayout& layout() const { return layout_; }
  bool caretTimerRunning() const { return caretTimer_.isSet(); }

 protected:
  // What follows a caret move: the selection from the anchor (Shift) or none, then
  // showChangedCaret.
  void finishCaretMove();
  // What follows a change of the text: no selection, the caret shown and in view, the
  // change callback.
  void finishEdit();
  // The selection between the anchor (clamped into the text) and the caret.
  void selectFromAnchor();
  // The caret shown and scrolled into view after a move or an edit; the pointer hidden.
  void showChangedCaret();
  void showCaret();
  void hideMouseCursor();
  // Takes the dispatcher's keyboard focus (and the window's, with the input method on).
  void takeEditFocus();
  void selectWordAtCaret();
  // A caret on the second unit of a surrogate pair goes on past the pair.
  void moveCaretOffLowSurrogate();

 private:
  void initialise();
  bool isShiftDown() const;
  bool isControlDown() const;
  float lineHeight() const;
  Window::StyleBrushList* brushes() const { return drawing.styleBrushes; }
  const Media::Brush& background() const;
  void moveCaretLeft();
  void moveCaretRight();
  void deleteSelection();
  void insertText(const std::u16string& inserted);
  // What a pasted or input-method text becomes under the pattern: all its matches, joined.
  std::u16string filterText(const std::u16string& inserted) const;
  bool navigateFocus();
  void blink();
  // The drag scroll: the pointer beyond the edges moves the text.
  void dragScroll(int32_t x, int32_t y);
  void centre(int32_t& x, int32_t& y) const;
  Window::WindowMouseService::ImeComposition compositionAtCaret() const;

  EditTextLayout layout_;
  System::Timer caretTimer_;
  bool wheelFromScrollBar_ = false;
  bool rightButtonFromFlag_ = false;
};

}  // namespace Control
