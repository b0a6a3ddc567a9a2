#pragma once
// Subclassing of a native control: every event to the control (and, for a scrolling view,
// to its viewport, where the pointer events arrive) is offered to one handler first. The
// dialog fields hook their controls with it, and the list view field takes over the
// view's mouse handling.
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class QWidget;

namespace Window {

class Subclass {
 public:
  // True consumes the event; false lets the control handle it as usual.
  using Proc = std::function<bool(Subclass&, QWidget* window, QEvent* event)>;

  // Sent to a control just before it goes away (the dialog sends it to each of its
  // controls when it ends): the subclass is removed first, then the handler sees it.
  static QEvent::Type destroyEventType();

  Subclass();
  ~Subclass();
  Subclass(const Subclass&) = delete;
  Subclass& operator=(const Subclass&) = delete;

  // A null window throws "SetWindowSubclass" at Window::Subclass::registerProc (the proc is
  // dropped). A window subclassed before is released first.
  void registerProc(QWidget* window, Proc proc);
  void removeProc();

  QWidget* hwnd() const { return hwnd_.data(); }

 private:
  class Filter;
  bool dispatch(QEvent* event);

  Proc proc_;
  QPointer<QWidget> hwnd_;
  QPointer<QWidget> viewport_;
  std::unique_ptr<Filter> filter_;
};

}  // namespace Window
