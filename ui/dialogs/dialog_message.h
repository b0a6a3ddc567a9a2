#pragma once
// What the controls of a dialog tell their parent, in the numbers the dialogs compare:
// a command (a button pressed, an edit's text changed, a list's choice changed, a control
// losing the focus) and a notification (what a list view reports or asks for).
#include <QEvent>
#include <cstdint>

class QWidget;

namespace Dialog {

// The message kinds a dialog's procMessage sees.
inline constexpr uint32_t kCommandMessage = 0x0111;  // WM_COMMAND
inline constexpr uint32_t kNotifyMessage = 0x004E;   // WM_NOTIFY

// Command ids the dialog procedure handles itself.
inline constexpr int32_t kIdOk = 1;          // Enter
inline constexpr int32_t kIdCancel = 2;      // Escape, the close box
inline constexpr int32_t kIdOkButton = 6;    // the dialog's own "OK" button
inline constexpr int32_t kIdFirstButton = 10000;

// Command codes (the high word of a command).
inline constexpr int32_t kButtonClicked = 0;       // BN_CLICKED
inline constexpr int32_t kComboSelChange = 1;      // CBN_SELCHANGE
inline constexpr int32_t kComboKillFocus = 4;      // CBN_KILLFOCUS
inline constexpr int32_t kComboEditChange = 5;     // CBN_EDITCHANGE
inline constexpr int32_t kEditKillFocus = 0x0200;  // EN_KILLFOCUS
inline constexpr int32_t kEditChange = 0x0300;     // EN_CHANGE

// The header every notification begins with; a sender adds its own members after it.
struct NotifyHeader {
  QWidget* from = nullptr;
  int32_t code = 0;
};

struct DialogMessage {
  uint32_t message = 0;
  int32_t id = 0;    // the control id of a command
  int32_t code = 0;  // the command code
  QWidget* control = nullptr;
  NotifyHeader* notify = nullptr;  // a notification's header
};

// A command as an event sent to the control's parent: the dialog handles it, or a control
// that holds other controls (the list view and its cell editors) sees it in its subclass.
class CommandEvent : public QEvent {
 public:
  CommandEvent(int32_t id, int32_t code, QWidget* control)
      : QEvent(eventType()), id(id), code(code), control(control) {}
  static QEvent::Type eventType();

  int32_t id;
  int32_t code;
  QWidget* control;
};

// Sends a command from `control` to its parent window.
void sendCommand(QWidget* control, int32_t id, int32_t code);
// Routes a notification to the dialog that holds `header.from`: the field whose control
// sent it, or the dialog's procMessage. False when no dialog holds the sender.
bool sendNotify(NotifyHeader& header);

}  // namespace Dialog
