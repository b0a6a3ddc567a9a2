#include "ui/dialogs/subclass.h"

#include <QAbstractScrollArea>
#include <QWidget>

#include "system/exception.h"

namespace Window {

class Subclass::Filter : public QObject {
 public:
  explicit Filter(Subclass& owner) : owner_(owner) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override { return owner_.dispatch(event); }

 private:
  Subclass& owner_;
};

QEvent::Type Subclass::destroyEventType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

Subclass::Subclass() = default;
Subclass::~Subclass() { removeProc(); }

void Subclass::registerProc(QWidget* window, Proc proc) {
  if (!window) throw System::makeException("Window::Subclass::registerProc", "SetWindowSubclass failed.");
  removeProc();
  filter_ = std::make_unique<Filter>(*this);
  window->installEventFilter(filter_.get());
  if (auto* view = qobject_cast<QAbstractScrollArea*>(window)) {
    viewport_ = view->viewport();
    viewport_->installEventFilter(filter_.get());
  }
  proc_ = std::move(proc);
  hwnd_ = window;
}

void Subclass::removeProc() {
  if (filter_) {
    if (hwnd_) hwnd_->removeEventFilter(filter_.get());
    if (viewport_) viewport_->removeEventFilter(filter_.get());
  }
  filter_.reset();
  hwnd_ = nullptr;
  viewport_ = nullptr;
}

bool Subclass::dispatch(QEvent* event) {
  QWidget* window = hwnd_.data();
  if (!window || !proc_) return false;
  if (event->type() == destroyEventType()) {
    // The handler may be the last user of the control: unhook first, then let it see the end.
    Proc proc = proc_;
    removeProc();
    return proc(*this, window, event);
  }
  return proc_(*this, window, event);
}

}  // namespace Window
