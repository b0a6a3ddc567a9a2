#include "ui/window_mouse.h"

#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QInputMethod>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "ui/frame_metrics.h"
#include "ui/virtual_key.h"

namespace Window {
namespace {

bool dispatchBusy = false;

// How long the pointer rests on a target before it is told (the desktop's usual time).
constexpr int kHoverTime = 400;

Qt::CursorShape shapeOf(MouseCursor cursor) {
  switch (cursor) {
    case MouseCursor::Hidden: return Qt::BlankCursor;
    case MouseCursor::Arrow: return Qt::ArrowCursor;
    case MouseCursor::SizeWE: return Qt::SizeHorCursor;
    case MouseCursor::SizeNS: return Qt::SizeVerCursor;
    case MouseCursor::SizeAll: return Qt::SizeAllCursor;
    case MouseCursor::Hand: return Qt::PointingHandCursor;
    case MouseCursor::IBeam: return Qt::IBeamCursor;
    case MouseCursor::No: return Qt::ForbiddenCursor;
    case MouseCursor::Wait: return Qt::WaitCursor;
    case MouseCursor::Program129: return Qt::SplitHCursor;
    case MouseCursor::Program143: return Qt::ClosedHandCursor;
    case MouseCursor::PickColor: return Qt::CrossCursor;
    case MouseCursor::PanHorizontal: return Qt::SplitVCursor;
    case MouseCursor::PanVertical: return Qt::SplitHCursor;
  }
  return Qt::ArrowCursor;
}

bool isArrowKey(int32_t key) { return key >= VirtualKey::kLeft && key <= VirtualKey::kDown; }

int32_t localX(const WindowMouse& target, int32_t x) { return x - target.rect->x; }
int32_t localY(const WindowMouse& target, int32_t y) { return y - target.rect->y; }

std::optional<PickedColor> readScreenPixel(QPoint position) {
  QScreen* screen = QGuiApplication::screenAt(position);
  if (!screen) return std::nullopt;
  const QPoint local = position - screen->geometry().topLeft();
  const QImage image = screen->grabWindow(0, local.x(), local.y(), 1, 1).toImage();
  if (image.isNull()) return std::nullopt;
  const QRgb pixel = image.pixel(0, 0);
  return PickedColor{static_cast<uint8_t>(qRed(pixel)), static_cast<uint8_t>(qGreen(pixel)),
                     static_cast<uint8_t>(qBlue(pixel))};
}

}  // namespace

bool isDispatchBusy() { return dispatchBusy; }

// Opened by every handler that hit-tests: the outermost one clears the flag at its end, so a
// target found inside a nested loop of a handler is refused until that handler returns.
struct WindowMouseService::BusyScope {
  BusyScope() : outer(!dispatchBusy) {}
  ~BusyScope() {
    if (outer) dispatchBusy = false;
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;
  bool outer;
};

WindowMouse::WindowMouse(Rect* targetRect, int32_t targetPriority)
    : mouseService(WindowMouseService::instance()), rect(targetRect), priority(targetPriority) {
  if (mouseService) mouseService->addMouse(this);
}

WindowMouse::~WindowMouse() {
  if (mouseService) mouseService->removeMouse(this);
}

void WindowMouse::procImeString(const std::u32string& text) {
  for (char32_t character : text) procChar(character);
}

void WindowMouse::startPickColor() {
  if (mouseService) mouseService->startPickColor(this);
}

void WindowMouse::trackHover() {
  if (mouseService) mouseService->trackHover(this);
}

void WindowMouse::takeFocus() {
  if (mouseService) mouseService->takeFocus(this);
}

WindowMouseService::WindowMouseService()
    : screenPixel_(readScreenPixel),
      modifiers_([] { return QGuiApplication::queryKeyboardModifiers(); }),
      clock_([] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
      }),
      cursorPos_([] { return QCursor::pos(); }),
      setCursorPos_([](QPoint position) { QCursor::setPos(position); }),
      hoverTimer_(std::make_unique<QTimer>()) {
  hoverTimer_->setSingleShot(true);
  hoverTimer_->setInterval(kHoverTime);
  QObject::connect(hoverTimer_.get(), &QTimer::timeout, [this] { mouseHover(); });
}

WindowMouseService::~WindowMouseService() {
  // Targets that outlive the dispatcher must not call it from their destructors.
  for (WindowMouse* target : targets_) target->mouseService = nullptr;
}

void WindowMouseService::setWindow(QWidget* window) {
  window_ = window;
  appliedCursor_ = MouseCursor::Arrow;
  wantedCursor_ = defaultCursor_ = MouseCursor::Arrow;
  if (window_) {
    window_->setMouseTracking(true);
    window_->setCursor(Qt::ArrowCursor);
    window_->setAttribute(Qt::WA_InputMethodEnabled, inputMethod_);
  }
}

void WindowMouseService::addMouse(WindowMouse* target) { targets_.push_back(target); }

void WindowMouseService::removeMouse(WindowMouse* target) {
  auto found = std::find(targets_.begin(), targets_.end(), target);
  if (found != targets_.end()) {
    *found = targets_.back();
    targets_.pop_back();
  }
  for (WindowMouse** reference :
       {&focus_, &pressed_, &hovered_, &dropHover_, &keyWatch_, &pickTarget_}) {
    if (*reference == target) *reference = nullptr;
  }
  if (hovered_ == nullptr) hoverTimer_->stop();
}

int64_t WindowMouseService::now() const { return clock_(); }

WindowMouse* WindowMouseService::findMouse(int32_t x, int32_t y,
                                           const std::function<bool(WindowMouse&)>& predicate) {
  if (dispatchBusy) return nullptr;
  WindowMouse* result = pressed_;
  if (!result) {
    std::vector<WindowMouse*> candidates;
    for (WindowMouse* target : targets_) {
      if (target->visible && target->rect->contains(x, y) && (!predicate || predicate(*target)))
        candidates.push_back(target);
    }
    auto distance = [x, y](const WindowMouse* target) {
      const Rect& r = *target->rect;
      return std::abs(x - (r.x + r.width / 2)) + std::abs(y - (r.y + r.height / 2));
    };
    std::stable_sort(candidates.begin(), candidates.end(),
                     [&](const WindowMouse* a, const WindowMouse* b) {
                       if (a->priority != b->priority) return a->priority > b->priority;
                       return distance(a) < distance(b);
                     });
    // A disabled target shadows everything below it.
    if (!candidates.empty() && candidates.front()->enabled) result = candidates.front();
  }
  if (result) dispatchBusy = true;
  return result;
}

void WindowMouseService::clickStart(int32_t x, int32_t y, int button) {
  if (hideTip_) hideTip_();
  if (window_ && !window_->hasFocus()) window_->setFocus(Qt::MouseFocusReason);
  const int64_t time = now();
  const QPoint position(x, y);
  // A third quick press at the same pixel is a double click too, timed from the first.
  if (button == lastClickButton_ && time - lastClickTime_ < Metrics::doubleClickTime() &&
      position == lastClickPos_) {
    doubleClick_ = true;
    return;
  }
  lastClickButton_ = button;
  lastClickTime_ = time;
  lastClickPos_ = position;
  doubleClick_ = false;
  if (position != lastMove_) mouseMove(x, y);
}

void WindowMouseService::changePressed(WindowMouse* target) {
  WindowMouse* old = pressed_;
  pressed_ = target;
  dragActive_ = false;
  if (old && old->dragging) {
    old->dragging = false;
    old->procCaptureCancel();
  }
}

bool WindowMouseService::mouseMove(int32_t x, int32_t y) {
  QPoint position(x, y);
  if (position != lastMove_ && hideTip_) hideTip_();
  const bool hiddenDrag = dragActive_ && wantedCursor_ == MouseCursor::Hidden;
  if (hiddenDrag && moved_ && cursorPos_) {
    // The pointer is put back where the drag began so that it never meets the screen edge;
    // the origin moves by the same amount on both axes, so the target sees the whole motion.
    const QPoint screen = cursorPos_();
    if (screen != savedCursor_) {
      const QPoint shift = savedCursor_ - screen;
      originX_ += shift.x();
      originY_ += shift.y();
      if (setCursorPos_) setCursorPos_(savedCursor_);
      position += shift;
    }
  } else if (!hiddenDrag && position == lastMove_) {
    return true;
  }
  lastMove_ = position;
  if (hoverTimer_->isActive()) hoverTimer_->start();
  if (pickTarget_) return true;

  if (dragActive_) {
    const int32_t dx = position.x() - originX_;
    const int32_t dy = position.y() - originY_;
    if (!moved_) {
      if (dx == 0 && dy == 0) return true;
      if (std::abs(dx) < Metrics::dragWidth() && std::abs(dy) < Metrics::dragHeight() &&
          now() - lastClickTime_ < Metrics::doubleClickTime())
        return true;
      moved_ = true;
    }
    if (pressed_ && pressed_->dragging) pressed_->procMouseDrag(dx, dy);
    updateWindowCursor();
    return true;
  }

  BusyScope busy;
  wantedCursor_ = defaultCursor_;
  WindowMouse* result = findMouse(position.x(), position.y());
  if (result != hovered_) {
    endHover();
    if (result) {
      hovered_ = result;
      result->hovered = true;
      result->procMouseEnter();
      armHover();
    }
  }
  if (result && hovered_ == result)
    result->procMouseMove(localX(*result, position.x()), localY(*result, position.y()));
  updateWindowCursor();
  return true;
}

void WindowMouseService::endHover() {
  WindowMouse* old = hovered_;
  hovered_ = nullptr;
  hoverTimer_->stop();
  if (old && old->hovered) {
    old->hovered = false;
    old->procMouseLeave();
  }
}

void WindowMouseService::armHover() { hoverTimer_->start(); }

void WindowMouseService::trackHover(WindowMouse* target) {
  if (target && target == hovered_) armHover();
}

bool WindowMouseService::mouseHover() {
  if (hovered_ && !hovered_->dragging) hovered_->procMouseHover();
  return true;
}

bool WindowMouseService::mouseLeave() {
  endHover();
  return true;
}

bool WindowMouseService::lButtonDown(int32_t x, int32_t y) {
  if (pickTarget_) {
    // The press's own point decides between the picker and the screen.
    lastMove_ = QPoint(x, y);
    finishColorPick();
    return false;
  }
  BusyScope busy;
  clickStart(x, y, 1);
  WindowMouse* result = findMouse(x, y);
  setFocus(result);
  if (result != pressed_) changePressed(result);
  if (result && pressed_ == result && !result->dragging)
    result->procLButtonDown(localX(*result, x), localY(*result, y));
  updateWindowCursor();
  return pressed_ && pressed_ == result && result->dragging;
}

bool WindowMouseService::lButtonUp(int32_t x, int32_t y) {
  bool handled = false;
  {
    BusyScope busy;
    WindowMouse* result = findMouse(x, y);
    if (result && result->dragging) {
      handled = moved_;
      result->procLButtonUp(localX(*result, x), localY(*result, y));
    }
    updateWindowCursor();
  }
  // Letting the capture go ends the drag: its owner always hears procCaptureCancel last.
  captureChanged();
  return handled;
}

bool WindowMouseService::rButtonDown(int32_t x, int32_t y) {
  cancelPick();
  BusyScope busy;
  clickStart(x, y, 2);
  WindowMouse* result = findMouse(x, y, [](WindowMouse& t) { return t.acceptsRightButton; });
  rightTookFocus_ = setFocus(result);
  if (result != pressed_) changePressed(result);
  if (result && pressed_ == result && !result->dragging)
    result->procRButtonDown(localX(*result, x), localY(*result, y));
  updateWindowCursor();
  return pressed_ && pressed_ == result && result->dragging;
}

bool WindowMouseService::rButtonUp(int32_t x, int32_t y) {
  bool ownedMovedDrag = false;
  {
    BusyScope busy;
    WindowMouse* result = findMouse(x, y, [](WindowMouse& t) { return t.acceptsRightButton; });
    if (result && result->dragging) {
      ownedMovedDrag = moved_;
      result->procRButtonUp(localX(*result, x), localY(*result, y));
    }
    updateWindowCursor();
  }
  captureChanged();
  // A right click that took the focus from a text field opens no context menu.
  return rightTookFocus_ || ownedMovedDrag;
}

bool WindowMouseService::mouseWheel(int32_t x, int32_t y, int32_t delta) {
  BusyScope busy;
  const int64_t time = now();
  WindowMouse* result = findMouse(x, y, [&](WindowMouse& t) {
    // Within the double-click time of a wheel event only its target takes the wheel.
    return t.acceptsWheel && t.acceptWheel() &&
           (&t == lastWheel_ || time - lastWheelTime_ > Metrics::doubleClickTime());
  });
  setFocus(result);
  if (result) {
    lastWheel_ = result;
    lastWheelTime_ = time;
    result->procMouseWheel(localX(*result, x), localY(*result, y), delta);
  }
  updateWindowCursor();
  return true;
}

bool WindowMouseService::captureChanged() {
  WindowMouse* old = pressed_;
  pressed_ = nullptr;
  dragActive_ = false;
  if (old && old->dragging) {
    old->dragging = false;
    old->procCaptureCancel();
  }
  wantedCursor_ = defaultCursor_;
  updateWindowCursor();
  return true;
}

bool WindowMouseService::contextMenu(int32_t x, int32_t y) {
  cancelPick();
  BusyScope busy;
  WindowMouse* result = findMouse(x, y, [](WindowMouse& t) { return t.acceptsContextMenu; });
  if (result) result->procContextMenu(localX(*result, x), localY(*result, y));
  return true;
}

bool WindowMouseService::keyDown(int32_t key) {
  cancelPick();
  if (dragActive_ && pressed_) {
    if (isArrowKey(key)) moved_ = true;
    if (pressed_->procDragKey(key)) return true;
  }
  // A focused target takes every key: no shortcut runs while it holds the focus.
  if (focus_) return focus_->procKeyDown(key);
  return shortcuts_ ? shortcuts_(key) : false;
}

bool WindowMouseService::keyUp(int32_t key) {
  if (keyWatch_ && key == keyWatchKey_) {
    WindowMouse* watcher = keyWatch_;
    keyWatch_ = nullptr;
    watcher->procKeyRelease();
  }
  return false;
}

bool WindowMouseService::character(char32_t character) {
  return focus_ ? focus_->procChar(character) : false;
}

bool WindowMouseService::sysKeyDown(int32_t key) {
  cancelPick();
  lastSysKeyResult_ = shortcuts_ ? shortcuts_(key) : false;
  return lastSysKeyResult_;
}

void WindowMouseService::cancelDrag() {
  if (pressed_) {
    pressed_->dragging = false;
    if (dragActive_) {
      dragActive_ = false;
      pressed_->procDragCancel();
    }
  }
  wantedCursor_ = defaultCursor_;
}

void WindowMouseService::setKeyWatch(WindowMouse* target, int32_t key) {
  keyWatch_ = target;
  keyWatchKey_ = key;
}

bool WindowMouseService::isKeyDown(int32_t key) const {
  Qt::KeyboardModifier modifier;
  switch (key) {
    case VirtualKey::kShift: modifier = Qt::ShiftModifier; break;
    case VirtualKey::kControl: modifier = Qt::ControlModifier; break;
    case VirtualKey::kMenu: modifier = Qt::AltModifier; break;
    default: return false;
  }
  return modifiers_ && modifiers_().testFlag(modifier);
}

void WindowMouseService::activate(bool active) {
  if (!active) {
    finishColorPick();
    // A press whose release went to another window ends here.
    if (pressed_) captureChanged();
    return;
  }
  if (!keyWatch_) return;
  // No other key's state than the modifiers' can be read: such a key counts as up.
  const bool released = keyWatchKey_ == kFocusWatch ? focus_ == nullptr : !isKeyDown(keyWatchKey_);
  if (released) {
    WindowMouse* watcher = keyWatch_;
    keyWatch_ = nullptr;
    watcher->procKeyRelease();
  }
}

bool WindowMouseService::killFocus() {
  setFocus(nullptr);
  return true;
}

bool WindowMouseService::setFocus(WindowMouse* target) {
  if (!focus_ || focus_ == target) return false;
  WindowMouse* old = focus_;
  focus_ = nullptr;
  old->focused = false;
  old->procKillFocus(target);
  setInputMethod(false);
  if (keyWatch_ && keyWatchKey_ == kFocusWatch) {
    WindowMouse* watcher = keyWatch_;
    keyWatch_ = nullptr;
    watcher->procKeyRelease();
  }
  wantedCursor_ = defaultCursor_;
  updateWindowCursor();
  return true;
}

void WindowMouseService::takeFocus(WindowMouse* target) {
  setFocus(nullptr);
  focus_ = target;
  if (target) target->focused = true;
  if (window_) window_->setFocus(Qt::OtherFocusReason);
  if (!inputMethod_) setInputMethod(true);
}

void WindowMouseService::setInputMethod(bool on) {
  inputMethod_ = on;
  if (window_) window_->setAttribute(Qt::WA_InputMethodEnabled, on);
}

bool WindowMouseService::imeStartComposition() {
  if (focus_ && focus_->procFocusIme(inputMethod_)) return true;
  if (inputMethod_) setInputMethod(false);
  return false;
}

void WindowMouseService::imeResult(const std::u32string& text) {
  if (focus_ && inputMethod_ && !text.empty()) focus_->procImeString(text);
}

void WindowMouseService::setImeComposition(const ImeComposition& composition) {
  imeComposition_ = composition;
  if (QInputMethod* method = QGuiApplication::inputMethod()) method->update(Qt::ImCursorRectangle);
}

bool WindowMouseService::setImeFont(const std::string& family, int32_t height) {
  // The face name of the desktop's font record holds 31 characters and its terminator.
  const std::string face = QString::fromStdString(family).left(31).toStdString();
  if (face == imeFontFamily_ && height == imeFontHeight_) return false;
  imeFontFamily_ = face;
  imeFontHeight_ = height;
  if (QInputMethod* method = QGuiApplication::inputMethod()) method->update(Qt::ImFont);
  return true;
}

bool WindowMouseService::dragOver(int32_t x, int32_t y, DropData& data) {
  if (data.files.empty()) return true;
  BusyScope busy;
  WindowMouse* result = findMouse(x, y, [](WindowMouse& t) { return t.acceptsDrop; });
  if (result != dropHover_) {
    WindowMouse* old = dropHover_;
    dropHover_ = result;
    if (old) old->procDragLeave();
  }
  if (result && dropHover_ == result &&
      result->procDragOver(localX(*result, x), localY(*result, y), data)) {
    data.accepted = true;
    if (window_ && !window_->isActiveWindow()) window_->activateWindow();
  }
  return true;
}

bool WindowMouseService::drop(int32_t x, int32_t y, DropData& data) {
  if (data.files.empty()) return true;
  if (hideAnyTip_) hideAnyTip_();
  BusyScope busy;
  WindowMouse* result = findMouse(x, y, [](WindowMouse& t) { return t.acceptsDrop; });
  if (result != dropHover_) {
    WindowMouse* old = dropHover_;
    dropHover_ = result;
    if (old) old->procDragLeave();
  }
  if (result && result->procDrop(localX(*result, x), localY(*result, y), data))
    data.accepted = true;
  // The drag is over once dropped: the target hears it leave, as after any drag, so that it
  // clears what it showed while the files hovered (the toolkit sends no leave of its own).
  dragLeave();
  return true;
}

bool WindowMouseService::dragLeave() {
  if (hideAnyTip_) hideAnyTip_();
  WindowMouse* old = dropHover_;
  dropHover_ = nullptr;
  if (old) old->procDragLeave();
  return true;
}

void WindowMouseService::beginDrag(int32_t x, int32_t y, MouseCursor cursor) {
  if (pressed_) {
    pressed_->dragging = true;
    dragActive_ = true;
    moved_ = false;
    originX_ = x + pressed_->rect->x;
    originY_ = y + pressed_->rect->y;
  } else if (!dragActive_) {
    return;
  }
  wantedCursor_ = cursor;
  if (cursor == MouseCursor::Hidden && cursorPos_) savedCursor_ = cursorPos_();
}

void WindowMouseService::startPickColor(WindowMouse* target) {
  cancelPick();
  if (WindowMouse* old = pressed_) {
    pressed_ = nullptr;
    if (old->dragging) {
      old->dragging = false;
      old->procCaptureCancel();
    }
  }
  dragActive_ = false;
  endHover();
  pickTarget_ = target;
  wantedCursor_ = MouseCursor::PickColor;
  updateWindowCursor();
}

void WindowMouseService::cancelPick() {
  if (!pickTarget_) return;
  WindowMouse* target = pickTarget_;
  pickTarget_ = nullptr;
  target->procPickColor(std::nullopt);
  wantedCursor_ = defaultCursor_;
  updateWindowCursor();
}

bool WindowMouseService::finishColorPick() {
  if (!pickTarget_) return false;
  WindowMouse* target = pickTarget_;
  pickTarget_ = nullptr;
  std::optional<PickedColor> colour;
  // A click inside the picking control itself cancels the pick.
  if (!target->rect->contains(lastMove_.x(), lastMove_.y()) && screenPixel_ && cursorPos_)
    colour = screenPixel_(cursorPos_());
  target->procPickColor(colour);
  wantedCursor_ = defaultCursor_;
  updateWindowCursor();
  return true;
}

void WindowMouseService::updateWindowCursor() {
  if (wantedCursor_ == appliedCursor_) return;
  appliedCursor_ = wantedCursor_;
  if (window_) window_->setCursor(shapeOf(appliedCursor_));
}

}  // namespace Window
