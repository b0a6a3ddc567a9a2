#pragma once
// One labelled field of a dialog: it makes its native control when the dialog lays itself
// out, shows its value there, and takes the value back when the dialog is confirmed.
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "ui/dialogs/dialog_message.h"
#include "ui/dialogs/subclass.h"

namespace Dialog {

// Window styles the fields ask their controls for (WS_CHILD and WS_VISIBLE are implied).
inline constexpr uint32_t kStyleBorder = 0x00800000;    // WS_BORDER
inline constexpr uint32_t kStyleTabStop = 0x00010000;   // WS_TABSTOP
inline constexpr uint32_t kEditAutoHScroll = 0x0080;    // ES_AUTOHSCROLL
inline constexpr uint32_t kEditNumber = 0x2000;         // ES_NUMBER
inline constexpr uint32_t kComboDropDown = 0x0002;      // CBS_DROPDOWN
inline constexpr uint32_t kComboDropDownList = 0x0003;  // CBS_DROPDOWNLIST
inline constexpr uint32_t kComboAutoHScroll = 0x0040;   // CBS_AUTOHSCROLL
inline constexpr uint32_t kStaticCenterImage = 0x0200;  // SS_CENTERIMAGE
inline constexpr uint32_t kButtonVCenter = 0x0C00;      // BS_VCENTER

class DialogItem {
 public:
  using MessageHook = std::function<bool(QWidget* window, QEvent* event)>;

  DialogItem() = default;
  explicit DialogItem(std::string label) : label(std::move(label)) {}
  virtual ~DialogItem();
  DialogItem(const DialogItem&) = delete;
  DialogItem& operator=(const DialogItem&) = delete;

  // Makes the control(s) at the rectangle of the parent's client area and shows the value.
  virtual void create(QWidget* parent, int x, int y, int width, int height);
  // Takes the control's value; false keeps the dialog open (the field has told the user why).
  virtual bool submit();
  // Puts the value into the control.
  virtual void update();
  // A notification from this field's control; the result goes back to the sender.
  virtual bool procNotify(NotifyHeader& header);

  // The native control: class "Edit", "ComboBox", "Static", "Button" or "SysListView32"
  // with the styles above. The text is translated through the Dialog table while a
  // language is active. An unknown class throws "CreateWindowExW" at
  // Dialog::DialogItem::createControl.
  static QWidget* createControl(QWidget* parent, std::string_view className, uint32_t style,
                                std::string_view text, int32_t id, int x, int y, int width,
                                int height);

  // A name may not hold \ / : * ? " ' < > | % = , or a full stop; such a name shows
  // "使用できない文字が含まれています" below the control and gives false.
  bool checkName(const std::string& text) const;

  std::string label;  // empty: no label
  int32_t height = 0;  // 0: the dialog's row height
  QPointer<QWidget> hwnd;  // the main control while the dialog runs
  Window::Subclass subclass;
  MessageHook messageHook;

 protected:
  // Installs `messageHook` on `hwnd` when one is set.
  void hookControl();
};

// The text of an edit or of a combo box's edit part, and setting it.
std::string controlText(const QWidget* control);
void setControlText(QWidget* control, const std::string& text);

// The control's text as an integer (leading spaces allowed, trailing characters ignored) in
// [min, max]; otherwise "値が不正です (min - max)" below the control and false. A parsed
// number is stored even when it is out of range.
bool getWindowTextInt(QWidget* control, int32_t& value, int32_t min, int32_t max);
// The same for a number, the text stripped of spaces at both ends.
bool getWindowTextNumber(QWidget* control, double& value, double min, double max);

// Through the Dialog table while a language is active.
std::string translateDialogText(std::string_view text);

}  // namespace Dialog
