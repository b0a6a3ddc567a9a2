#include "ui/dialogs/dialog_item.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QTableView>
#include <charconv>
#include <cmath>

#include "system/exception.h"
#include "system/text.h"
#include "system/translate_service.h"
#include "ui/tool_tips.h"

namespace Dialog {
namespace {

constexpr int kErrorCannotFindWindowClass = 1407;

// Turns a control's own signals into commands to its parent, as a native control would
// report to its dialog: the changes, the clicks and the loss of the focus.
class CommandSource : public QObject {
 public:
  CommandSource(QWidget* control, int32_t id, int32_t killFocusCode)
      : QObject(control), control_(control), id_(id), killFocusCode_(killFocusCode) {
    control->installEventFilter(this);
  }

  void send(int32_t code) const { sendCommand(control_, id_, code); }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::FocusOut && killFocusCode_ >= 0) send(killFocusCode_);
    return false;
  }

 private:
  QWidget* control_;
  int32_t id_;
  int32_t killFocusCode_;
};

QString qt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QWidget* makeEdit(QWidget* parent, uint32_t style, int32_t id) {
  auto* edit = new QLineEdit(parent);
  edit->setFrame((style & kStyleBorder) != 0);
  if (style & kEditNumber)
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
  auto* source = new CommandSource(edit, id, kEditKillFocus);
  QObject::connect(edit, &QLineEdit::textChanged, source, [source] { source->send(kEditChange); });
  return edit;
}

QWidget* makeComboBox(QWidget* parent, uint32_t style, int32_t id) {
  auto* combo = new QComboBox(parent);
  combo->setEditable((style & 0x3) == kComboDropDown);
  auto* source = new CommandSource(combo, id, kComboKillFocus);
  QObject::connect(combo, &QComboBox::currentIndexChanged, source,
                   [source] { source->send(kComboSelChange); });
  if (combo->isEditable()) {
    // The edit part loses the focus, not the box.
    combo->lineEdit()->installEventFilter(source);
    QObject::connect(combo, &QComboBox::editTextChanged, source,
                     [source] { source->send(kComboEditChange); });
  }
  return combo;
}

QWidget* makeButton(QWidget* parent, int32_t id) {
  auto* button = new QPushButton(parent);
  // Enter is the dialog's to handle (it confirms or does nothing), never a button's.
  button->setAutoDefault(false);
  button->setDefault(false);
  auto* source = new CommandSource(button, id, -1);
  QObject::connect(button, &QPushButton::clicked, source, [source] { source->send(kButtonClicked); });
  return button;
}

QWidget* makeListView(QWidget* parent) {
  auto* view = new QTableView(parent);
  view->verticalHeader()->hide();
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setWordWrap(false);
  view->setMouseTracking(true);
  view->horizontalHeader()->setStretchLastSection(false);
  view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  view->horizontalHeader()->setSectionsClickable(true);
  return view;
}

void showInvalid(const QWidget* control, const std::string& text, const std::string& detail) {
  if (control) Window::ToolTips::showBelow(*control, text, detail);
}

// Leading white space and one sign, as the standard conversions skip them.
std::string_view numberStart(std::string_view text, bool& plus) {
  std::size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) ++at;
  text.remove_prefix(at);
  plus = !text.empty() && text.front() == '+';
  if (plus) text.remove_prefix(1);
  return text;
}

// The number at the start of the text, as the standard conversions read it. A parsed
// number is stored even out of range; the result says whether it is in range.
template <class T>
bool parseInRange(const std::string& text, T& value, T min, T max) {
  bool plus = false;
  const std::string_view digits = numberStart(text, plus);
  T parsed{};
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), parsed);
  if (text.empty() || error != std::errc()) return false;
  if (plus && !digits.empty() && digits.front() == '-') return false;
  value = parsed;
  return min <= value && value <= max;
}

}  // namespace

QEvent::Type CommandEvent::eventType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

void sendCommand(QWidget* control, int32_t id, int32_t code) {
  if (!control) return;
  if (QWidget* parent = control->parentWidget()) {
    CommandEvent event(id, code, control);
    QApplication::sendEvent(parent, &event);
  }
}

std::string translateDialogText(std::string_view text) {
  return Translate::translateText(Translate::TranslateService::TextKind::Dialog, text);
}

DialogItem::~DialogItem() { subclass.removeProc(); }

void DialogItem::create(QWidget*, int, int, int, int) {
  throw System::makeException("Dialog::DialogItem::create", "not implement.");
}

bool DialogItem::submit() {
  throw System::makeException("Dialog::DialogItem::submit", "not implement.");
}

void DialogItem::update() {
  throw System::makeException("Dialog::DialogItem::update", "not implement.");
}

bool DialogItem::procNotify(NotifyHeader&) { return false; }

void DialogItem::hookControl() {
  if (!messageHook || !hwnd) return;
  subclass.registerProc(hwnd, [this](Window::Subclass&, QWidget* window, QEvent* event) {
    return messageHook(window, event);
  });
}

QWidget* DialogItem::createControl(QWidget* parent, std::string_view className, uint32_t style,
                                   std::string_view text, int32_t id, int x, int y, int width,
                                   int height) {
  QWidget* control = nullptr;
  if (className == "Edit") {
    control = makeEdit(parent, style, id);
  } else if (className == "ComboBox") {
    control = makeComboBox(parent, style, id);
  } else if (className == "Static") {
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignLeft | ((style & kStaticCenterImage) ? Qt::AlignVCenter : Qt::AlignTop));
    control = label;
  } else if (className == "Button") {
    control = makeButton(parent, id);
  } else if (className == "SysListView32") {
    control = makeListView(parent);
  } else {
    throw System::makeWin32ErrorException("Dialog::DialogItem::createControl",
                                          kErrorCannotFindWindowClass);
  }
  control->setFocusPolicy((style & kStyleTabStop) ? Qt::StrongFocus : Qt::ClickFocus);
  if (className == "Static") control->setFocusPolicy(Qt::NoFocus);
  if (parent) control->setFont(parent->font());
  if (!text.empty()) {
    const QString shown = qt(translateDialogText(text));
    if (auto* label = qobject_cast<QLabel*>(control)) label->setText(shown);
    else if (auto* button = qobject_cast<QPushButton*>(control)) button->setText(shown);
    else setControlText(control, std::string(translateDialogText(text)));
  }
  control->setGeometry(x, y, width, height);
  control->show();
  return control;
}

bool DialogItem::checkName(const std::string& text) const {
  static const QRegularExpression forbidden(QStringLiteral("[\\\\/:*?\"'<>|%=,.]"));
  if (!qt(text).contains(forbidden)) return true;
  showInvalid(hwnd, "使用できない文字が含まれています", "  \\ / :*? \"'<>|%=,.");
  return false;
}

std::string controlText(const QWidget* control) {
  if (auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->text().toStdString();
  if (auto* combo = qobject_cast<const QComboBox*>(control)) return combo->currentText().toStdString();
  if (auto* label = qobject_cast<const QLabel*>(control)) return label->text().toStdString();
  return {};
}

void setControlText(QWidget* control, const std::string& text) {
  if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->setText(qt(text));
  else if (auto* combo = qobject_cast<QComboBox*>(control)) combo->setEditText(qt(text));
  else if (auto* label = qobject_cast<QLabel*>(control)) label->setText(qt(text));
}

bool getWindowTextInt(QWidget* control, int32_t& value, int32_t min, int32_t max) {
  if (parseInRange(controlText(control), value, min, max)) return true;
  showInvalid(control, "値が不正です", System::formatString("(%d - %d)", min, max));
  return false;
}

bool getWindowTextNumber(QWidget* control, double& value, double min, double max) {
  std::string text = controlText(control);
  System::trimSpaces(text);
  if (parseInRange(text, value, min, max)) return true;
  showInvalid(control, "値が不正です", System::formatString("(%.16lg - %.16lg)", min, max));
  return false;
}

}  // namespace Dialog
