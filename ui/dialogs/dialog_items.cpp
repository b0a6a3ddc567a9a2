#include "ui/dialogs/dialog_items.h"

#include <QComboBox>
#include <QLineEdit>
#include <QString>

#include "system/text.h"
#include "ui/tool_tips.h"

namespace Dialog {
namespace {

constexpr int kRequiredTipMilliseconds = 3000;
constexpr uint32_t kEditStyle = kStyleBorder | kStyleTabStop | kEditAutoHScroll;

QString qt(const std::string& text) { return QString::fromStdString(text); }

// The text rule of the text and combo fields: an empty control is an empty text unless
// the field is required.
bool submitText(QWidget* control, std::string& text, bool required) {
  const std::string shown = controlText(control);
  if (!shown.empty() || !required) {
    text = shown;
    return true;
  }
  if (control) {
    const QPoint below = control->mapToGlobal(QPoint(0, control->height() + 1));
    Window::ToolTips::show(below, "必須項目です", kRequiredTipMilliseconds);
  }
  return false;
}

}  // namespace

void DialogItemText::create(QWidget* parent, int x, int y, int width, int height) {
  hwnd = createControl(parent, "Edit", kEditStyle, {}, 0, x, y, width, height);
  hookControl();
  setControlText(hwnd, text);
}

bool DialogItemText::submit() { return submitText(hwnd, text, required); }

void DialogItemText::update() { setControlText(hwnd, text); }

bool DialogItemNameText::submit() { return DialogItemText::submit() && checkName(text); }

void DialogItemComboBox::create(QWidget* parent, int x, int y, int width, int height) {
  hwnd = createControl(parent, "ComboBox",
                       kStyleBorder | kStyleTabStop | kComboDropDown | kComboAutoHScroll, {}, 0,
                       x, y, width, height);
  hookControl();
  auto* combo = static_cast<QComboBox*>(hwnd.data());
  for (const std::string& choice : choices) combo->addItem(qt(choice));
  // Adding the first choice would have put it into the edit part.
  combo->setEditText(qt(text));
}

bool DialogItemComboBox::submit() { return submitText(hwnd, text, required); }

void DialogItemComboBox::update() {
  auto* combo = qobject_cast<QComboBox*>(hwnd.data());
  if (!combo) return;
  if (choiceProvider) {
    choiceProvider(choices);
    combo->clear();
    for (const std::string& choice : choices) combo->addItem(qt(choice));
  }
  combo->setEditText(qt(text));
}

bool DialogItemNameComboBox::submit() { return DialogItemComboBox::submit() && checkName(text); }

void DialogItemInteger::create(QWidget* parent, int x, int y, int width, int height) {
  hwnd = createControl(parent, "Edit", kStyleBorder | kStyleTabStop | kEditNumber, {}, 0, x, y,
                       width, height);
  hookControl();
  hwnd->setAttribute(Qt::WA_InputMethodEnabled, false);
  update();
}

bool DialogItemInteger::submit() { return getWindowTextInt(hwnd, value, min, max); }

void DialogItemInteger::update() { setControlText(hwnd, std::to_string(value)); }

void DialogItemNumber::create(QWidget* parent, int x, int y, int width, int height) {
  hwnd = createControl(parent, "Edit", kStyleBorder | kStyleTabStop, {}, 0, x, y, width, height);
  hookControl();
  setControlText(hwnd, System::formatNumber(value));
}

bool DialogItemNumber::submit() { return getWindowTextNumber(hwnd, value, min, max); }

void DialogItemListBox::create(QWidget* parent, int x, int y, int width, int height) {
  hwnd = createControl(parent, "ComboBox", kStyleBorder | kStyleTabStop | kComboDropDownList, {},
                       0, x, y, width, height);
  hookControl();
  auto* combo = static_cast<QComboBox*>(hwnd.data());
  for (const std::string& text : texts) combo->addItem(qt(translateDialogText(text)));
  combo->setCurrentIndex(selected >= 0 && selected < combo->count() ? selected : -1);
}

bool DialogItemListBox::submit() {
  if (auto* combo = qobject_cast<QComboBox*>(hwnd.data())) {
    const int chosen = combo->currentIndex();
    if (chosen != -1) selected = chosen;
  }
  return true;
}

void DialogItemListBox::selectItem(const std::string& text) {
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (texts[i] == text) {
      selected = static_cast<int32_t>(i);
      return;
    }
  }
}

void DialogItemStatic::create(QWidget* parent, int x, int y, int width, int height) {
  hwnd = createControl(parent, "Static", 0, text, 0, x, y, width, height);
  hookControl();
}

}  // namespace Dialog
