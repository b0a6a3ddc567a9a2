#pragma once
// The edit control tests' fixture: a field in the window, the clipboard through the UI
// bridge, the modifier keys as the test holds them, and a log of the field's callbacks.
#include <QGuiApplication>
#include <string>
#include <vector>

#include "system/clipboard.h"
#include "tests/ui/control_test_support.h"
#include "ui/controls/edit_control.h"
#include "ui/qt_ui_bridge.h"
#include "ui/virtual_key.h"

namespace EditTest {

using namespace ControlTest;
using Control::EditControl;
namespace Key = Window::VirtualKey;

inline constexpr uint32_t kTextSelect = 0x0000c0;

class EditFixture : public ControlFixture {
 protected:
  EditFixture() {
    System::setUiBridge(&bridge_);
    mice().setModifierReader([this] { return modifiers; });
    service().styleBrushes().TextSelect.get()->setColor(colourOf(kTextSelect));
    edit.changeCallback = [this](EditControl&) { ++changes; };
    container.updateLayout();
  }
  ~EditFixture() override {
    mice().setModifierReader([] { return QGuiApplication::queryKeyboardModifiers(); });
    System::setUiBridge(nullptr);
  }

  // Puts the text into the field as an owner does, with the caret at `caret`.
  void setText(const std::u16string& text, int32_t caret = 0) {
    edit.text = text;
    edit.caret = caret;
    edit.anchor = caret;
    edit.selectStart = edit.selectEnd = 0;
    edit.updateTextLayout();
    edit.updateScroll();
  }
  bool keyDown(int32_t key, Qt::KeyboardModifiers held = Qt::NoModifier) {
    modifiers = held;
    const bool handled = edit.procKeyDown(key);
    modifiers = Qt::NoModifier;
    return handled;
  }
  bool type(char32_t character, Qt::KeyboardModifiers held = Qt::NoModifier) {
    modifiers = held;
    const bool handled = edit.procChar(character);
    modifiers = Qt::NoModifier;
    return handled;
  }
  void select(int32_t from, int32_t to) {
    edit.caret = to;
    edit.anchor = from;
    edit.selectStart = std::min(from, to);
    edit.selectEnd = std::max(from, to);
  }
  static std::string clipboard() {
    std::string text;
    return System::Clipboard::getText(text) ? text : std::string("<none>");
  }

  Window::QtUiBridge bridge_;
  Qt::KeyboardModifiers modifiers = Qt::NoModifier;
  ParentControl parent{container, 50, 50, 200, 60};
  EditControl edit{parent, 0, 200};
  int changes = 0;
};

}  // namespace EditTest
