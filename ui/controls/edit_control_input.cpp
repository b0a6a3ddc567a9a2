// The edit control's pointer, focus and input-method handling.
#include <algorithm>
#include <cmath>

#include "ui/controls/control_paint.h"
#include "ui/controls/edit_control.h"
#include "ui/menu_popup.h"
#include "ui/virtual_key.h"

namespace Control {
namespace {

// What ends a word for a double click.
constexpr std::u16string_view kWordDelimiters = u" ,(){}[]=+-/*<>#|\"\n\t";

}  // namespace

void EditControl::takeEditFocus() {
  if (!focused && mouseService) mouseService->takeFocus(this);
}

void EditControl::setFocus(bool on) {
  if (!on) {
    procKillFocus(nullptr);
    return;
  }
  if (scrollBar && !acceptsWheel) acceptsWheel = wheelFromScrollBar_ = true;
  if (rightButtonMenu && !acceptsRightButton) acceptsRightButton = rightButtonFromFlag_ = true;
  takeEditFocus();
  showCaret();
  repaint(*this);
}

void EditControl::procKillFocus(Window::WindowMouse*) {
  if (wheelFromScrollBar_) acceptsWheel = wheelFromScrollBar_ = false;
  if (rightButtonFromFlag_) acceptsRightButton = rightButtonFromFlag_ = false;
  anchor = caret;
  selectStart = selectEnd = 0;
  caretTimer_.clear();
  repaint(*this);
}

void EditControl::procMouseMove(int32_t, int32_t) {
  if (focused && mouseService) mouseService->setCursor(Window::MouseCursor::IBeam);
}

void EditControl::procLButtonDown(int32_t x, int32_t y) {
  if (scrollBar && !acceptsWheel) acceptsWheel = wheelFromScrollBar_ = true;
  if (rightButtonMenu && !acceptsRightButton) acceptsRightButton = rightButtonFromFlag_ = true;
  takeEditFocus();
  showCaret();
  if (mouseService && mouseService->pressedTarget() == this) {
    mouseService->beginDrag(x, y, Window::MouseCursor::IBeam);
    // Drag positions are then relative to the visible corner, as the press's are.
    mouseService->setDragOrigin(visibleRect.x, visibleRect.y);
  }
  // Input positions start at the visible corner; the text lies in the full rectangle.
  const int32_t cx = x + visibleRect.x - fullRect.x, cy = y + visibleRect.y - fullRect.y;
  caret = getTextPosition(static_cast<float>(cx + scrollX - 4), static_cast<float>(cy + scrollY - 4));
  moveCaretOffLowSurrogate();
  if (mouseService && mouseService->isDoubleClick()) {
    selectWordAtCaret();
  } else if (mouseService && mouseService->isKeyDown(Window::VirtualKey::kShift)) {
    selectFromAnchor();
  } else {
    anchor = caret;
    selectStart = selectEnd = 0;
  }
  updateImePosition();
  repaint(*this);
}

void EditControl::selectWordAtCaret() {
  auto lastBefore = [&](std::u16string_view delimiters) {
    for (int32_t i = caret; i > 0; --i)
      if (delimiters.find(text[i - 1]) != std::u16string_view::npos) return i;
    return 0;
  };
  auto firstFrom = [&](std::u16string_view delimiters) {
    for (int32_t i = caret; i < length; ++i)
      if (delimiters.find(text[i]) != std::u16string_view::npos) return i;
    return length;
  };
  int32_t start = lastBefore(kWordDelimiters), end = firstFrom(kWordDelimiters);
  // A double click on the word already selected takes the whole line.
  if (start == selectStart && end == selectEnd) {
    start = lastBefore(u"\n");
    end = firstFrom(u"\n");
  }
  selectStart = std::min(start, end);
  selectEnd = std::max(start, end);
  if (selectStart == selectEnd) selectStart = selectEnd = 0;
}

void EditControl::dragScroll(int32_t x, int32_t y) {
  int32_t nextX = scrollX, nextY = scrollY;
  const int32_t width = fullRect.width, height = fullRect.height;
  if (x < -3) nextX += x / 4;
  else if (x >= width + 4) nextX += (x - width) / 4;
  if (y < -3) nextY += y / 4;
  else if (y >= height + 4) nextY += (y - height) / 4;
  nextX = std::clamp(nextX, 0, std::max(0, textWidth + marginX() / 2 - innerWidth()));
  nextY = std::clamp(nextY, 0, std::max(0, textHeight + marginY() / 2 - innerHeight()));
  centre(nextX, nextY);
  if (nextX == scrollX && nextY == scrollY) return;
  scrollX = nextX;
  scrollY = nextY;
  if (Callback callback = scrollCallback) callback(*this);
}

void EditControl::procMouseDrag(int32_t x, int32_t y) {
  const int32_t cx = x + visibleRect.x - fullRect.x, cy = y + visibleRect.y - fullRect.y;
  dragScroll(cx, cy);
  caret = getTextPosition(static_cast<float>(std::clamp(cx, 0, fullRect.width) + scrollX - 4),
                          static_cast<float>(std::clamp(cy, 0, fullRect.height) + scrollY - 4));
  moveCaretOffLowSurrogate();
  selectFromAnchor();
  repaint(*this);
}

void EditControl::procMouseWheel(int32_t x, int32_t y, int32_t delta) {
  if (!scrollBar) return;
  scrollBar->procMouseWheel(x + rect->x - scrollBar->rect->x, y + rect->y - scrollBar->rect->y,
                            delta);
}

void EditControl::procRButtonDown(int32_t, int32_t) {
  if (mouseService && mouseService->pressedTarget()) mouseService->ownPress();
  Window::PopupMenu menu;
  createEditMenu(menu);
  menu.show();
}

void EditControl::createEditMenu(Window::PopupMenu& menu) {
  auto item = [&](const char* label, char16_t command) {
    menu.insertItem(label, [this, command] { procChar(command); });
  };
  if (selectStart < selectEnd) {
    item("切り取り", kCut);
    item("コピー", kCopy);
    item("貼り付け", kPaste);
    item("削除", kDelete);
  } else {
    item("貼り付け", kPaste);
    item("すべてを選択", kSelectAll);
  }
}

bool EditControl::procFocusIme(bool& inputMethodOn) {
  inputMethodOn = true;
  if (!mouseService) return true;
  mouseService->setImeComposition(compositionAtCaret());
  mouseService->setImeFont(font->format.get()->family,
                           static_cast<int32_t>(std::ceil(font->format.get()->size)));
  return true;
}

void EditControl::updateImePosition() {
  if (!mouseService || mouseService->focusTarget() != this || !mouseService->inputMethodOn())
    return;
  mouseService->setImeComposition(compositionAtCaret());
}

Window::WindowMouseService::ImeComposition EditControl::compositionAtCaret() const {
  const EditTextLayout::Box box = layout_.hitTestTextPosition(caret);
  return {fullRect.x + static_cast<int32_t>(std::lround(box.left)) - scrollX + 4,
          fullRect.y + static_cast<int32_t>(std::lround(box.top)) - scrollY + 5, fullRect};
}

}  // namespace Control
