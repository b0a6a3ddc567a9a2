#pragma once
// A value field that shows its value on a button face. The value always follows the field's
// pattern: a text becomes the value through the pattern's first capture group, and a text
// that does not match gives the fallback value. Typed text is taken while it matches, so
// every matching text typed has become the value already when the editing ends.
//
// A press on the face enters edit mode: the face gives way to an edit field holding the
// value, all selected. Losing the focus, Enter or Escape leave it and bring the face back.
#include <cstdint>
#include <functional>
#include <regex>
#include <string>
#include <string_view>

#include "gpu/text/text_format.h"
#include "ui/controls/button_control.h"
#include "ui/controls/edit_control.h"

namespace Control {

class ButtonInputControl : public Window::WindowControlRenderTarget {
 public:
  using Callback = std::function<void(ButtonInputControl&)>;

  // The face: the value (or the placeholder) on a button.
  class Button : public ButtonControl {
   public:
    Button(ButtonInputControl& owner, Window::WindowControlContainer& container);
    // The press is the field's, not a click: it enters edit mode.
    void procLButtonDown(int32_t x, int32_t y) override;
    void procPaint() override;

   private:
    ButtonInputControl& owner_;
  };

  // The edit field of edit mode; it starts hidden. Enter and Escape leave edit mode, and
  // so does losing the focus; Tab from another field of its focus group enters it.
  class Edit : public EditControl {
   public:
    Edit(ButtonInputControl& owner, Window::WindowControlContainer& container);
    bool procKeyDown(int32_t key) override;
    void procKillFocus(Window::WindowMouse* newTarget) override;
    void setFocus(bool on) override;
    bool canFocus() override { return owner_.visible && owner_.enabled; }

   private:
    ButtonInputControl& owner_;
  };

  // At (x, 0), `w` wide and as tall as the parent.
  ButtonInputControl(Window::WindowControl& parent, int32_t x, int32_t w);

  // The value from `text` through the pattern; `notify` tells the owner. Always true.
  bool setText(const std::string& text, bool copyIntoEdit, bool notify);
  // What a change of the typed text does: the first change of an editing run opens it; an
  // emptied text takes the fallback value; a text that matches the pattern becomes the value.
  void editTextChanged(const std::string& editText);
  // The pattern, a regular expression over the text's UTF-16 units (ECMAScript syntax).
  void setPattern(std::string_view expression);
  // The edit in place of the face, with the value all selected and the keyboard focus. An
  // editing run still open is closed first.
  void enterEditMode();
  // The face back in place of the edit; an open editing run is closed.
  void leaveEditMode();

  void procPaint() override;
  void procMove() override;

  std::string value;
  std::string fallbackValue;
  std::string placeholder;  // shown while the value is empty
  Resource::TextFormatResource* font;
  bool editing = false;  // an editing run with at least one change is open
  std::wregex pattern;
  Callback valueChangedCallback;
  Callback editBeginCallback;
  Callback editEndCallback;
  Window::WindowControlContainer container;
  Button face;
  Edit edit;

 private:
  void closeEditingRun();
  bool matches(const std::string& text, std::wsmatch* match, std::wstring& wide) const;
};

}  // namespace Control
