#include "ui/controls/button_input_control.h"

#include "system/text.h"
#include "ui/controls/control_paint.h"
#include "ui/virtual_key.h"

namespace Control {
namespace {

// The UTF-16 units of a text, one wide character each, so that the pattern counts the units
// the way the field's texts are stored elsewhere.
std::wstring toUnits(std::string_view text) {
  const std::u16string units = System::utf8ToUtf16(text);
  return std::wstring(units.begin(), units.end());
}

std::string fromUnits(const std::wstring& units) {
  std::u16string text;
  text.reserve(units.size());
  for (wchar_t unit : units) text.push_back(static_cast<char16_t>(unit));
  return System::utf16ToUtf8(text);
}

// The container of the face and the edit: both fill the control and are clipped to it.
Window::WindowControlContainer innerContainer(Window::WindowControl& control) {
  Window::WindowControlContainer inner;
  inner.priority = control.priority;
  inner.clipRect = &control.visibleRect;
  inner.parentRect = &control.fullRect;
  return inner;
}

}  // namespace

ButtonInputControl::Button::Button(ButtonInputControl& owner,
                                   Window::WindowControlContainer& container)
    : ButtonControl(container, 0, 0, 0, 0), owner_(owner) {}

void ButtonInputControl::Button::procLButtonDown(int32_t, int32_t) {
  // A disabled field shows an empty face and does not edit.
  if (owner_.enabled) owner_.enterEditMode();
}

ButtonInputControl::Edit::Edit(ButtonInputControl& owner,
                               Window::WindowControlContainer& container)
    : EditControl(container), owner_(owner) {
  visible = false;
  centerHorizontally = centerVertically = true;
}

bool ButtonInputControl::Edit::procKeyDown(int32_t key) {
  if (key != Window::VirtualKey::kReturn && key != Window::VirtualKey::kEscape)
    return EditControl::procKeyDown(key);
  // Clearing the focus leaves edit mode (procKillFocus).
  if (focused && mouseService) mouseService->setFocus(nullptr);
  return true;
}

void ButtonInputControl::Edit::procKillFocus(Window::WindowMouse* newTarget) {
  EditControl::procKillFocus(newTarget);
  owner_.leaveEditMode();
}

void ButtonInputControl::Edit::setFocus(bool on) {
  if (on)
    owner_.enterEditMode();
  else
    owner_.leaveEditMode();
}

void ButtonInputControl::Button::procPaint() {
  if (!isPaintable(*this)) return;
  ControlDrawScope scope(*this);
  Window::StyleBrushList& brushes = scope.brushes();
  if (!owner_.enabled) {
    scope.fillClip(*brushes.Grouping.get());
    return;
  }
  scope.fillClip(dragging  ? *brushes.BorderFocus.get()
                 : hovered ? *brushes.ButtonBodyHover.get()
                           : *brushes.ButtonBody.get());
  MeasuredText measured =
      measureText(*owner_.font, owner_.value.empty() ? owner_.placeholder : owner_.value);
  scope.drawLayout(measured.layout.get(), (scope.width() - measured.width) / 2,
                   (scope.height() - measured.height) / 2, *brushes.Text.get());
}

ButtonInputControl::ButtonInputControl(Window::WindowControl& parent, int32_t x, int32_t w)
    : WindowControlRenderTarget(parent, x, 0, w, 0),
      font(&textFormat(Resource::ResourceService::kEditControl)),
      container(innerContainer(*this)),
      face(*this, container),
      edit(*this, container) {
  edit.font = font;
  edit.changeCallback = [this](EditControl& changed) { editTextChanged(changed.textUtf8()); };
  edit.updateTextLayout();
  container.updateLayout();
}

void ButtonInputControl::closeEditingRun() {
  if (!editing) return;
  editing = false;
  if (Callback callback = editEndCallback) callback(*this);
}

void ButtonInputControl::enterEditMode() {
  closeEditingRun();
  face.visible = false;
  edit.visible = true;
  edit.setTextUtf8(value);
  edit.updateTextLayout();
  edit.caret = edit.anchor = edit.length;
  edit.updateScroll();
  edit.selectStart = 0;
  edit.selectEnd = edit.length;
  // Shows the caret, takes the wheel and the right button as the edit's options say and the
  // keyboard focus with the input method on, and repaints the edit.
  edit.EditControl::setFocus(true);
  repaint(face);
}

void ButtonInputControl::leaveEditMode() {
  if (edit.focused && mouseService) {
    // The edit's procKillFocus comes back here without the focus.
    mouseService->setFocus(nullptr);
    return;
  }
  closeEditingRun();
  face.visible = true;
  edit.visible = false;
  if (mouseService) {
    mouseService->setCursor(mouseService->defaultCursor());
    mouseService->updateWindowCursor();
  }
  repaint(edit);
  repaint(face);
}

void ButtonInputControl::setPattern(std::string_view expression) {
  pattern = std::wregex(toUnits(expression), std::regex::ECMAScript);
}

bool ButtonInputControl::matches(const std::string& text, std::wsmatch* match,
                                 std::wstring& wide) const {
  wide = toUnits(text);
  return match ? std::regex_match(wide, *match, pattern) : std::regex_match(wide, pattern);
}

bool ButtonInputControl::setText(const std::string& text, bool copyIntoEdit, bool notify) {
  std::wstring wide;
  std::wsmatch match;
  if (matches(text, &match, wide))
    value = match.size() > 1 && match[1].matched ? fromUnits(match[1].str()) : std::string();
  else
    value = fallbackValue;
  if (copyIntoEdit) {
    edit.setTextUtf8(value);
    edit.updateTextLayout();
    edit.updateScroll();
  }
  if (notify) {
    if (Callback callback = valueChangedCallback) callback(*this);
  }
  return true;
}

void ButtonInputControl::editTextChanged(const std::string& editText) {
  if (!editing) {
    editing = true;
    if (Callback callback = editBeginCallback) callback(*this);
  }
  if (editText.empty() && !fallbackValue.empty()) setText(fallbackValue, false, true);
  std::wstring wide;
  if (!matches(editText, nullptr, wide)) return;
  setText(editText, false, true);
}

void ButtonInputControl::procPaint() {
  if (!isPaintable(*this)) return;
  ControlDrawScope scope(*this);
  const std::vector<Window::WindowControl*> children = container.children;
  for (Window::WindowControl* child : children) child->procPaint();
}

void ButtonInputControl::procMove() { container.updateLayout(); }

}  // namespace Control
