#include "ui/dialogs/dialog_template.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "gpu/resource/resource_service.h"
#include "system/ui_bridge.h"
#include "ui/menu_popup.h"
#include "ui/message_box_owner.h"
#include "ui/tool_tips.h"
#include "ui/window_service.h"

namespace Dialog {
namespace {

constexpr int kCaptionUnits = 63;
constexpr int kControlWidth = 324;
constexpr int kMargin = 12;
constexpr int kRowGap = 6;

// The font of the native controls ([Font] Control) once the drawing resources exist; the
// toolkit's font before that.
QFont dialogFont() {
  QFont font = QApplication::font();
  if (const auto* resources = Resource::ResourceService::instance()) {
    const Resource::GdiFontList& control = resources->controlFont();
    if (!control.family().empty()) font.setFamily(QString::fromStdString(control.family()));
    if (control.pixelSize() > 0) font.setPixelSize(control.pixelSize());
  }
  return font;
}

DialogDriver& currentDriver() {
  static DialogDriver driver;
  return driver;
}

// The dialog window: the dialog procedure of the framework over a toolkit dialog.
class DialogWindow : public QDialog {
 public:
  DialogWindow(DialogTemplate& owner, QWidget* parent) : QDialog(parent), owner_(owner) {
    setWindowTitle(dialogCaption(owner.title));
    setModal(true);
    setFont(dialogFont());
    layOut(parent);
  }

  // A command from one of the dialog's controls, or from a key.
  bool command(int32_t id, int32_t code, QWidget* control) {
    if (id == kIdOk) {
      // With an "OK" button, Enter must not confirm (it may belong to a multi-line task).
      if (!owner_.okButton && submitAll()) done(1);
    } else if (id == kIdCancel) {
      done(0);
    } else if (id == kIdOkButton) {
      if (submitAll()) done(1);
    } else if (id >= kIdFirstButton) {
      const auto index = static_cast<std::size_t>(id - kIdFirstButton);
      if (index < owner_.buttons.size()) {
        // The action may end the dialog; nothing of it is used afterwards.
        owner_.buttons[index].action();
        return false;
      }
    }
    DialogMessage message{kCommandMessage, id, code, control, nullptr};
    return owner_.procMessage(*this, message);
  }

  bool notify(NotifyHeader& header) {
    for (const auto& item : owner_.items)
      if (item->hwnd && item->hwnd == header.from) return item->procNotify(header);
    DialogMessage message{kNotifyMessage, 0, header.code, header.from, &header};
    return owner_.procMessage(*this, message);
  }

  // What the ending of a native dialog does to its controls: each is told it goes away
  // while it is still whole.
  void destroyControls() {
    const QList<QWidget*> controls = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* control : controls) {
      QEvent event(Window::Subclass::destroyEventType());
      QApplication::sendEvent(control, &event);
    }
  }

 protected:
  bool event(QEvent* event) override {
    if (event->type() == CommandEvent::eventType()) {
      const auto* command = static_cast<CommandEvent*>(event);
      this->command(command->id, command->code, command->control);
      return true;
    }
    return QDialog::event(event);
  }

  void keyPressEvent(QKeyEvent* event) override {
    switch (event->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        command(kIdOk, kButtonClicked, nullptr);
        return;
      case Qt::Key_Escape:
        command(kIdCancel, kButtonClicked, nullptr);
        return;
      default:
        QDialog::keyPressEvent(event);
    }
  }

  // The close box and Escape are the cancel command.
  void reject() override { command(kIdCancel, kButtonClicked, nullptr); }

 private:
  int rowHeight() const {
    const int h = QFontMetrics(font()).size(Qt::TextSingleLine, QStringLiteral("!#@/")).height();
    return h == 0 ? 0 : h + 4;
  }

  bool submitAll() {
    for (const auto& item : owner_.items)
      if (!item->submit()) return false;
    return true;
  }

  QRect parentRect(QWidget* parent) const {
    if (parent) return parent->window()->frameGeometry();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) return screen->geometry();
    return {};
  }

  void layOut(QWidget* parent) {
    const int r = rowHeight();
    const QFontMetrics metrics(font());
    owner_.okButton = owner_.items.size() > 1;
    int content = 18;
    int widestLabel = -1;
    for (const auto& item : owner_.items) {
      if (item->height != 0) owner_.okButton = true;
      else item->height = r;
      content += item->height + kRowGap;
      if (!item->label.empty()) {
        const QString shown = QString::fromStdString(translateDialogText(item->label));
        widestLabel = std::max(widestLabel, metrics.horizontalAdvance(shown));
      }
    }
    const int labelWidth = widestLabel < 0 ? 0 : widestLabel + 8;
    if (owner_.buttonMode != 0) owner_.okButton = owner_.buttonMode == 1;
    if (owner_.okButton || !owner_.buttons.empty()) content += kMargin + r;

    owner_.width = std::max(labelWidth + kControlWidth, owner_.width);
    owner_.height = content;
    setFixedSize(owner_.width, owner_.height);
    // The native window first, so that the outer size includes the frame.
    createWinId();
    place(parent);

    int y = kMargin;
    for (const auto& item : owner_.items) {
      if (!item->label.empty()) {
        DialogItem::createControl(this, "Static", kStaticCenterImage, item->label, -1, kMargin, y,
                                  labelWidth, r);
      }
      item->create(this, labelWidth + kMargin, y,
                   std::max(0, owner_.width - labelWidth - 2 * kMargin), item->height);
      y += item->height + kRowGap;
    }

    const int buttonY = y + kRowGap;
    int x = kMargin;
    for (const DialogButton& button : owner_.buttons) {
      const int w = button.width != 0 ? button.width : 4 * r;
      DialogItem::createControl(this, "Button", kStyleTabStop | kButtonVCenter, button.text,
                                button.id, std::min(x, owner_.width - w - kMargin), buttonY, w, r);
      x += w + kMargin;
    }
    if (owner_.okButton) {
      DialogItem::createControl(this, "Button", kStyleTabStop | kButtonVCenter, "OK", kIdOkButton,
                                std::max(kMargin, owner_.width - 4 * r - kMargin), buttonY, 4 * r,
                                r);
    }
  }

  // Centred on the parent with an "OK" button; else at the pointer (or where the context
  // menu whose command opened it was), kept inside the parent's right and bottom edges.
  void place(QWidget* parent) {
    const QRect around = parentRect(parent);
    const QSize outer = frameGeometry().size();
    QPoint at;
    if (owner_.okButton) {
      at = QPoint((around.left() + around.right() + 1 - outer.width()) / 2,
                  (around.top() + around.bottom() + 1 - outer.height()) / 2);
    } else {
      at = Window::PopupMenu::isRunningPopupCommand() ? Window::PopupMenu::popupPoint()
                                                      : QCursor::pos();
      at.setX(std::min(at.x(), around.right() + 1 - outer.width()));
      at.setY(std::min(at.y(), around.bottom() + 1 - outer.height()));
    }
    move(at);
  }

  DialogTemplate& owner_;
};

}  // namespace

QString dialogCaption(const std::string& title) {
  QString caption = QString::fromStdString(translateDialogText(title));
  if (caption.size() > kCaptionUnits) {
    int length = kCaptionUnits;
    // A pair cut in half would show as a broken character.
    if (caption.at(length - 1).isHighSurrogate()) --length;
    caption.truncate(length);
  }
  return caption;
}

bool sendNotify(NotifyHeader& header) {
  if (!header.from) return false;
  for (QWidget* at = header.from->parentWidget(); at; at = at->parentWidget()) {
    if (auto* dialog = dynamic_cast<DialogWindow*>(at)) return dialog->notify(header);
  }
  return false;
}

DialogTemplate::~DialogTemplate() = default;

bool DialogTemplate::procMessage(QDialog&, const DialogMessage&) { return false; }

bool DialogTemplate::create(int minimumWidth, QWidget* parent) {
  Window::ToolTips::hide();
  System::stopPreviewPlayer();
  width = minimumWidth;
  height = 0;
  const DialogDriver driver = currentDriver();
  if (!driver && Window::isHeadlessPlatform()) return false;
  if (!parent) {
    if (auto* windows = Window::WindowService::instance()) parent = windows->window();
  }
  DialogWindow window(*this, parent);
  if (driver) {
    QTimer::singleShot(0, &window, [this, &window, driver] {
      driver(*this, window);
      if (window.isVisible()) window.done(0);
    });
  }
  const int result = window.exec();
  window.destroyControls();
  return result != 0;
}

DialogItemText* DialogTemplate::addNameInput(const std::string& text, bool required) {
  return addItem(std::make_unique<DialogItemText>("名前", text, required));
}

DialogItemNameText* DialogTemplate::addNameText(const std::string& label,
                                                const std::string& text) {
  return addItem(std::make_unique<DialogItemNameText>(label, text, true));
}

DialogItemInteger* DialogTemplate::addInteger(const std::string& label, int32_t value,
                                              int32_t min, int32_t max) {
  return addItem(std::make_unique<DialogItemInteger>(label, value, min, max));
}

DialogItemNumber* DialogTemplate::addNumber(const std::string& label, float value, double min,
                                            double max) {
  return addNumber(label, static_cast<double>(value), min, max);
}

DialogItemNumber* DialogTemplate::addNumber(const std::string& label, double value, double min,
                                            double max) {
  return addItem(std::make_unique<DialogItemNumber>(label, value, min, max));
}

DialogItemListBox* DialogTemplate::addListBox(const std::string& label, int32_t selected) {
  return addItem(std::make_unique<DialogItemListBox>(label, selected));
}

DialogItemStatic* DialogTemplate::addStatic(const std::string& text) {
  return addItem(std::make_unique<DialogItemStatic>(text));
}

void DialogTemplate::addButton(std::string text, std::function<void()> action, int32_t width) {
  const auto id = kIdFirstButton + static_cast<int32_t>(buttons.size());
  buttons.push_back({std::move(text), std::move(action), width, id});
}

ScopedDialogDriver::ScopedDialogDriver(DialogDriver driver)
    : previous_(std::exchange(currentDriver(), std::move(driver))) {}

ScopedDialogDriver::~ScopedDialogDriver() { currentDriver() = std::move(previous_); }

}  // namespace Dialog
