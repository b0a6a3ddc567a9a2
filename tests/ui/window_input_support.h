#pragma once
// Helpers of the window framework tests: the manager window with a fake clock, targets that
// record what the dispatcher tells them, and the toolkit events a user's input makes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <functional>
#include <string>
#include <vector>

#include "system/service_holder.h"
#include "tests/ui/style_brush_support.h"
#include "ui/docking_layout.h"
#include "ui/window_mouse.h"
#include "ui/window_service.h"

namespace WindowTest {

// A target that logs each call as "<name> <operation> <arguments>".
class Probe : public Window::WindowMouse {
 public:
  Probe(std::string name, Window::Rect area, int32_t priority, std::vector<std::string>& log)
      : WindowMouse(&area_, priority), area_(area), name_(std::move(name)), log_(log) {
    acceptsWheel = acceptsRightButton = acceptsContextMenu = true;
  }

  void procMouseMove(int32_t x, int32_t y) override { add("move", x, y); }
  void procMouseDrag(int32_t dx, int32_t dy) override { add("drag", dx, dy); }
  void procLButtonDown(int32_t x, int32_t y) override {
    add("down", x, y);
    if (beginsDrag) mouseService->beginDrag(x, y, dragCursor);
    if (onDown) onDown();
  }
  void procLButtonUp(int32_t x, int32_t y) override { add("up", x, y); }
  void procRButtonDown(int32_t x, int32_t y) override { add("rdown", x, y); }
  void procMouseEnter() override { add("enter"); }
  void procMouseLeave() override { add("leave"); }
  void procCaptureCancel() override { add("cancel"); }
  void procMouseWheel(int32_t x, int32_t y, int32_t delta) override { add("wheel", delta); }
  bool procKeyDown(int32_t key) override {
    add("key", key);
    return true;
  }
  bool procChar(char32_t c) override {
    add("char", static_cast<int32_t>(c));
    return true;
  }
  void procKillFocus(Window::WindowMouse*) override { add("killfocus"); }
  void procContextMenu(int32_t x, int32_t y) override { add("menu", x, y); }
  void procMouseHover() override { add("hover"); }
  bool procFocusIme(bool&) override { return imeAllowed; }
  bool procDragOver(int32_t x, int32_t y, Window::DropData& data) override {
    add("over", x, y);
    return takesFiles;
  }
  bool procDrop(int32_t x, int32_t y, Window::DropData& data) override {
    add("drop", static_cast<int32_t>(data.files.size()));
    return takesFiles;
  }
  void procDragLeave() override { add("dragleave"); }
  void procPickColor(std::optional<Window::PickedColor> colour) override {
    if (!colour) return add("pick none");
    add("pick", colour->red << 16 | colour->green << 8 | colour->blue);
  }

  bool beginsDrag = false;
  bool imeAllowed = true;
  bool takesFiles = true;
  std::function<void()> onDown;
  Window::MouseCursor dragCursor = Window::MouseCursor::SizeWE;

 private:
  void add(const char* what) { log_.push_back(name_ + " " + what); }
  void add(const char* what, int32_t a) {
    log_.push_back(name_ + " " + what + " " + std::to_string(a));
  }
  void add(const char* what, int32_t a, int32_t b) {
    log_.push_back(name_ + " " + what + " " + std::to_string(a) + "," + std::to_string(b));
  }

  Window::Rect area_;
  std::string name_;
  std::vector<std::string>& log_;
};

class WindowFixture : public ::testing::Test {
 protected:
  WindowFixture() {
    mice().setClock([this] { return now; });
  }
  ~WindowFixture() override { mice().setClock(nullptr); }

  static Window::WindowMouseService& mice() { return *Window::WindowMouseService::instance(); }
  static Window::WindowService& service() { return *Window::WindowService::instance(); }
  // The input goes where the toolkit delivers it: pointer and keys to the client area, in
  // its coordinates.
  static QWidget* window() { return service().clientArea(); }
  static uint32_t pixel(int x, int y) { return service().image().pixel(x, y) & 0xffffffu; }

  static void mouse(QEvent::Type type, int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, QPointF(x, y), QPointF(window()->mapToGlobal(QPoint(x, y))),
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QApplication::sendEvent(window(), &event);
  }
  static void press(int x, int y, Qt::MouseButton b = Qt::LeftButton) {
    mouse(QEvent::MouseButtonPress, x, y, b);
  }
  static void release(int x, int y, Qt::MouseButton b = Qt::LeftButton) {
    mouse(QEvent::MouseButtonRelease, x, y, b);
  }
  static void move(int x, int y) { mouse(QEvent::MouseMove, x, y, Qt::NoButton); }
  static void wheel(int x, int y, int delta) {
    QWheelEvent event(QPointF(x, y), QPointF(window()->mapToGlobal(QPoint(x, y))), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(window(), &event);
  }
  static void key(Qt::Key code, const QString& text = {}) {
    QKeyEvent event(QEvent::KeyPress, code, Qt::NoModifier, text);
    QApplication::sendEvent(window(), &event);
  }

  System::ServiceHolder<Window::WindowService> holder_;
  int64_t now = 1'000'000;
  std::vector<std::string> log;
};

// The manager window with a docking area of 1000 by 1000 pixels: the client area plus one
// separator, less the left border; less the footer.
class DockingFixture : public WindowFixture {
 protected:
  static constexpr int kClientWidth = 997;
  static constexpr int kClientHeight = 1019;

  DockingFixture() { relayout(); }
  static void relayout() { service().resize(kClientWidth, kClientHeight); }
  static Window::DockingLayout& docking() { return service().docking(); }
};

}  // namespace WindowTest
