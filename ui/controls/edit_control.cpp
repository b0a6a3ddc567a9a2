// The edit control's text: layout, scrolling, caret moves, keys and characters.
#include "ui/controls/edit_control.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "system/clipboard.h"
#include "system/setting_service.h"
#include "system/text.h"
#include "ui/controls/control_paint.h"
#include "ui/virtual_key.h"

namespace Control {
namespace {

bool isLowSurrogate(char16_t unit) { return unit >= 0xdc00 && unit <= 0xdfff; }
bool isHighSurrogate(char16_t unit) { return unit >= 0xd800 && unit <= 0xdbff; }

// Every CR LF and every lone CR becomes one LF.
void normaliseLineBreaks(std::u16string& text) {
  if (text.find(u'\r') == std::u16string::npos) return;
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r') {
      out.push_back(text[i]);
      continue;
    }
    out.push_back(u'\n');
    if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
  }
  text = std::move(out);
}

std::u16string unitsOf(char32_t character) {
  if (character < 0x10000) return std::u16string(1, static_cast<char16_t>(character));
  const char32_t value = character - 0x10000;
  return {static_cast<char16_t>(0xd800 + (value >> 10)),
          static_cast<char16_t>(0xdc00 + (value & 0x3ff))};
}

int32_t caretBlinkTime() {
  const Setting::SettingService* settings = Setting::SettingService::instance();
  const int32_t time = settings ? settings->system.caretBlinkTime : 500;
  return time > 0 ? time : 500;
}

}  // namespace

EditControl::EditControl(Window::WindowControlContainer& container)
    : WindowControlRenderTarget(container, 0, 0, 0, 0),
      font(&textFormat(Resource::ResourceService::kEditControl)) {
  initialise();
}

EditControl::EditControl(Window::WindowControl& parent, int32_t x, int32_t w)
    : WindowControlRenderTarget(parent, x, 0, w, 0),
      font(&textFormat(Resource::ResourceService::kEditControl)) {
  initialise();
}

EditControl::~EditControl() = default;

void EditControl::initialise() {
  updateTextLayout();
  updateScroll();
}

std::string EditControl::textUtf8() const { return System::utf16ToUtf8(text); }

void EditControl::setTextUtf8(std::string_view utf8) { text = System::utf8ToUtf16(utf8); }

float EditControl::lineHeight() const { return Resource::TextFormat::getLineHeight(*font); }

int32_t EditControl::innerWidth() const {
  return visibleRect.width < 9 ? 0 : visibleRect.width - 8;
}

int32_t EditControl::innerHeight() const {
  return visibleRect.height < 9 ? 0 : visibleRect.height - 8;
}

int32_t EditControl::marginX() const {
  return std::min(visibleRect.width / 4, 2 * static_cast<int32_t>(std::ceil(lineHeight())));
}

int32_t EditControl::marginY() const {
  return std::min(visibleRect.height / 4, static_cast<int32_t>(std::ceil(lineHeight())));
}

int32_t EditControl::linesPerPage() const {
  return std::max(1, static_cast<int32_t>(innerHeight() / std::max(lineHeight(), 1.0f)));
}

bool EditControl::isShiftDown() const {
  return mouseService && mouseService->isKeyDown(Window::VirtualKey::kShift);
}

bool EditControl::isControlDown() const {
  return mouseService && mouseService->isKeyDown(Window::VirtualKey::kControl);
}

void EditControl::updateTextLayout() {
  normaliseLineBreaks(text);
  length = static_cast<int32_t>(text.size());
  caret = std::clamp(caret, 0, length);
  layout_ = EditTextLayout(*font->format.get(), text);
  const Resource::TextLayout::Metrics metrics = layout_.metrics();
  textWidth = static_cast<int32_t>(std::ceil(metrics.width));
  textHeight = static_cast<int32_t>(std::ceil(metrics.height));
}

void EditControl::centre(int32_t& x, int32_t& y) const {
  const int32_t inner = innerWidth(), innerY = innerHeight();
  if (centerHorizontally && textWidth + marginX() / 2 < inner) x = (textWidth - inner) / 2;
  if (centerVertically && textHeight + marginY() / 2 < innerY) y = (textHeight - innerY) / 2;
}

void EditControl::updateScroll() {
  const EditTextLayout::Box box = layout_.hitTestTextPosition(caret);
  const int32_t mx = marginX(), my = marginY();
  const int32_t inner = innerWidth(), innerY = innerHeight();
  scrollX = std::max(scrollX, static_cast<int32_t>(std::floor(box.left + box.width)) + mx - inner);
  scrollX = std::min(scrollX, static_cast<int32_t>(std::floor(box.left)) - mx);
  scrollY = std::max(scrollY, static_cast<int32_t>(std::floor(box.top + box.height)) + my - innerY);
  scrollY = std::min(scrollY, static_cast<int32_t>(std::floor(box.top)) - my);
  scrollX = std::max(scrollX, 0);
  scrollY = std::max(scrollY, 0);
  centre(scrollX, scrollY);
  scrollX = std::min(scrollX, std::max(0, mx / 2 + textWidth - inner));
  scrollY = std::min(scrollY, std::max(0, my / 2 + textHeight - innerY));
  if (Callback callback = scrollCallback) callback(*this);
}

int32_t EditControl::getTextPosition(float x, float y) const {
  const EditTextLayout::PointHit hit = layout_.hitTestPoint(x, y);
  return std::clamp(hit.index + (hit.trailing ? hit.trailingLength : 0), 0, length);
}

void EditControl::moveCaretOffLowSurrogate() {
  if (caret > 0 && caret < length && isLowSurrogate(text[caret])) ++caret;
}

void EditControl::moveCaretLeft() {
  caret = std::clamp(caret - 1, 0, length);
  if (caret > 0 && caret < length && isLowSurrogate(text[caret])) --caret;
}

void EditControl::moveCaretRight() {
  caret = std::clamp(caret + 1, 0, length);
  moveCaretOffLowSurrogate();
}

void EditControl::editCursorUp(int32_t lines) {
  const EditTextLayout::Box box = layout_.hitTestTextPosition(caret);
  const float target = box.top - box.height * 0.5f - static_cast<float>(lines - 1) * box.height;
  const EditTextLayout::PointHit hit = layout_.hitTestPoint(box.left, target);
  if (layout_.hitTestTextPosition(hit.index).top > target) return;  // no line above
  caret = std::clamp(hit.index + (hit.trailing ? hit.trailingLength : 0), 0, length);
  moveCaretOffLowSurrogate();
}

void EditControl::editCursorDown(int32_t lines) {
  const EditTextLayout::Box box = layout_.hitTestTextPosition(caret);
  const float target = box.top + box.height * 1.5f + static_cast<float>(lines - 1) * box.height;
  const EditTextLayout::PointHit hit = layout_.hitTestPoint(box.left, target);
  const EditTextLayout::Box found = layout_.hitTestTextPosition(hit.index);
  if (target > found.top + found.height) return;  // no line below
  caret = std::clamp(hit.index + (hit.trailing ? hit.trailingLength : 0), 0, length);
  moveCaretOffLowSurrogate();
}

void EditControl::deleteText(int32_t from, int32_t to) {
  from = std::clamp(from, 0, length);
  to = std::clamp(to, from, length);
  const int32_t removed = to - from;
  text.erase(static_cast<std::size_t>(from), static_cast<std::size_t>(removed));
  if (caret > from) caret = std::max(from, caret - removed);
  updateTextLayout();
}

void EditControl::deleteSelection() {
  if (selectStart < selectEnd) deleteText(selectStart, selectEnd);
  selectStart = selectEnd = 0;
}

void EditControl::insertText(const std::u16string& inserted) {
  // Line breaks are made single LFs before they go in, so that the caret advances by what
  // the text really grows.
  std::u16string units = inserted;
  normaliseLineBreaks(units);
  if (units.empty()) return;
  text.insert(static_cast<std::size_t>(std::clamp(caret, 0, length)), units);
  caret = std::clamp(caret, 0, length) + static_cast<int32_t>(units.size());
  updateTextLayout();
}

std::u16string EditControl::filterText(const std::u16string& inserted) const {
  if (!inputPattern) return inserted;
  const std::wstring wide(inserted.begin(), inserted.end());
  std::u16string kept;
  for (auto it = std::wsregex_iterator(wide.begin(), wide.end(), *inputPattern);
       it != std::wsregex_iterator(); ++it) {
    for (wchar_t unit : it->str()) kept.push_back(static_cast<char16_t>(unit));
  }
  return kept;
}

void EditControl::showCaret() {
  caretPhase = true;
  if (focused) caretTimer_.set(static_cast<uint32_t>(caretBlinkTime()), [this] { blink(); });
}

void EditControl::hideMouseCursor() {
  if (!mouseService) return;
  mouseService->setCursor(Window::MouseCursor::Hidden);
  mouseService->updateWindowCursor();
}

void EditControl::selectFromAnchor() {
  anchor = std::clamp(anchor, 0, length);
  selectStart = std::min(anchor, caret);
  selectEnd = std::max(anchor, caret);
  if (selectStart == selectEnd) selectStart = selectEnd = 0;
}

void EditControl::showChangedCaret() {
  showCaret();
  updateScroll();
  updateImePosition();
  repaint(*this);
  hideMouseCursor();
}

void EditControl::finishCaretMove() {
  if (isShiftDown()) {
    selectFromAnchor();
  } else {
    anchor = caret;
    selectStart = selectEnd = 0;
  }
  showChangedCaret();
}

void EditControl::finishEdit() {
  anchor = caret;
  selectStart = selectEnd = 0;
  showChangedCaret();
  if (Callback callback = changeCallback) callback(*this);
}

bool EditControl::procKeyDown(int32_t key) {
  if (keyHook && keyHook(key)) {
    // The key is taken: the characters it typed go nowhere.
    if (mouseService) mouseService->discardCharacters();
    return true;
  }
  namespace Key = Window::VirtualKey;
  switch (key) {
    case Key::kPrior: editCursorUp(linesPerPage()); break;
    case Key::kNext: editCursorDown(linesPerPage()); break;
    case Key::kEnd:
      if (isControlDown()) {
        caret = length;
      } else {
        const std::size_t found = text.find(u'\n', static_cast<std::size_t>(caret));
        caret = found == std::u16string::npos ? length : static_cast<int32_t>(found);
      }
      break;
    case Key::kHome:
      if (isControlDown() || caret == 0) {
        caret = 0;
      } else {
        const std::size_t found = text.rfind(u'\n', static_cast<std::size_t>(caret - 1));
        caret = found == std::u16string::npos ? 0 : static_cast<int32_t>(found) + 1;
      }
      break;
    case Key::kLeft: moveCaretLeft(); break;
    case Key::kRight: moveCaretRight(); break;
    case Key::kUp: editCursorUp(1); break;
    case Key::kDown: editCursorDown(1); break;
    case Key::kInsert:
      if (isControlDown()) return procChar(kCopy);
      if (isShiftDown()) return procChar(kPaste);
      return false;
    case Key::kDelete:
      if (isShiftDown() && !isControlDown())
        return procChar(selectStart < selectEnd ? kCut : kBackspace);
      return procChar(kDelete);
    default: return false;
  }
  finishCaretMove();
  return true;
}

bool EditControl::procChar(char32_t character) {
  const bool selected = selectStart < selectEnd;
  if ((character == kCopy || character == kCut) && selected) {
    const int32_t from = std::clamp(selectStart, 0, length);
    const int32_t to = std::clamp(selectEnd, from, length);
    System::Clipboard::setText(System::utf16ToUtf8(
        std::u16string_view(text).substr(static_cast<std::size_t>(from),
                                         static_cast<std::size_t>(to - from))));
  }
  char32_t typed = character;
  if (character < 32) {
    switch (character) {
      case kSelectAll:
        if (length > 0) {
          selectStart = 0;
          selectEnd = length;
        } else {
          selectStart = selectEnd = 0;
        }
        updateScroll();
        repaint(*this);
        hideMouseCursor();
        return true;
      case kBackspace:
        if (selected) {
          deleteSelection();
        } else if (caret > 0) {
          int32_t from = caret - 1;
          if (from > 0 && isLowSurrogate(text[from]) && isHighSurrogate(text[from - 1])) --from;
          deleteText(from, caret);
        }
        finishEdit();
        return true;
      case kTab:
        if (focusGroup) return navigateFocus();
        break;  // typed as a tab character
      case kEnter: typed = u'\n'; break;
      case kPaste: {
        std::string pasted;
        if (!System::Clipboard::getText(pasted)) return true;
        deleteSelection();
        insertText(filterText(System::utf8ToUtf16(pasted)));
        finishEdit();
        return true;
      }
      case kCut:
        deleteSelection();
        finishEdit();
        return true;
      default: return true;  // copy, and control characters that do nothing
    }
  } else if (character == kDelete) {
    if (selected) {
      deleteSelection();
    } else if (isControlDown()) {
      const std::size_t found = text.find(u'\n', static_cast<std::size_t>(caret));
      deleteText(caret, found == std::u16string::npos ? length : static_cast<int32_t>(found));
    } else {
      int32_t to = caret + 1;
      if (to < length && isHighSurrogate(text[caret]) && isLowSurrogate(text[to])) ++to;
      deleteText(caret, to);
    }
    finishEdit();
    return true;
  }
  deleteSelection();
  const std::u16string units = unitsOf(typed);
  const std::wstring wide(units.begin(), units.end());
  if (!inputPattern || std::regex_search(wide, *inputPattern)) insertText(units);
  finishEdit();
  return true;
}

void EditControl::procImeString(const std::u32string& composed) {
  std::u16string units;
  for (char32_t character : composed) units += unitsOf(character);
  deleteSelection();
  insertText(filterText(units));
  finishEdit();
}

bool EditControl::navigateFocus() {
  const Members members = *focusGroup;
  const int32_t count = static_cast<int32_t>(members.size());
  if (count < 2) return false;
  const auto self = std::find(members.begin(), members.end(), static_cast<EditFocusGroup*>(this));
  if (self == members.end()) return false;
  const int32_t position = static_cast<int32_t>(self - members.begin());
  const int32_t step = isShiftDown() ? -1 : 1;
  for (int32_t i = 1; i < count; ++i) {
    EditFocusGroup* member = members[static_cast<std::size_t>(((position + step * i) % count + count) % count)];
    if (!member->canFocus()) continue;
    setFocus(false);
    member->setFocus(true);
    return true;
  }
  return false;
}

}  // namespace Control
