#pragma once
// Input targets and the one dispatcher that routes the manager window's input to them.
//
// Every docked window, every control and the window frame itself is a WindowMouse: a
// rectangle in window coordinates with a priority. The dispatcher picks the target of each
// event (hit test by priority, then by the nearest centre), keeps the capture during a press,
// the keyboard focus, the hovered target and the target a wheel sticks to, and calls the
// target with coordinates relative to its rectangle's top-left corner.
#include <QPoint>
#include <Qt>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "system/service_holder.h"
#include "ui/drop_data.h"

class QEvent;
class QTimer;
class QWidget;

namespace Window {

struct Rect {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;

  bool contains(int32_t px, int32_t py) const {
    return px >= x && px < x + width && py >= y && py < y + height;
  }
  bool operator==(const Rect&) const = default;
};

class WindowMouseService;

// The cursors a target can ask for.
enum class MouseCursor {
  Hidden, Arrow, SizeWE, SizeNS, SizeAll, Hand, IBeam, No, Wait,
  Program129, Program143, PickColor,  // the program's own cursors
  PanHorizontal, PanVertical,         // a separator drag that would swap two windows
};

struct PickedColor {
  uint8_t red = 0, green = 0, blue = 0;
};

class WindowMouse {
 public:
  // Registers the target with the dispatcher (when it exists). The rectangle belongs to the
  // derived class and must outlive the target.
  WindowMouse(Rect* rect, int32_t priority);
  virtual ~WindowMouse();
  WindowMouse(const WindowMouse&) = delete;
  WindowMouse& operator=(const WindowMouse&) = delete;

  virtual void procMouseMove(int32_t x, int32_t y) {}
  virtual void procMouseDrag(int32_t dx, int32_t dy) {}
  virtual void procDragCancel() {}
  virtual bool procDragKey(int32_t key) { return false; }
  virtual void procKeyRelease() {}
  virtual void procLButtonDown(int32_t x, int32_t y) {}
  virtual void procLButtonUp(int32_t x, int32_t y) {}
  virtual void procRButtonDown(int32_t x, int32_t y) {}
  virtual void procRButtonUp(int32_t x, int32_t y) {}
  virtual void procMouseEnter() {}
  virtual void procMouseLeave() {}
  virtual void procCaptureCancel() {}
  virtual void procMouseWheel(int32_t x, int32_t y, int32_t delta) {}
  virtual bool acceptWheel() { return true; }
  virtual bool procKeyDown(int32_t key) { return false; }
  virtual bool procChar(char32_t character) { return false; }
  // Each character of the input method's result, through procChar.
  virtual void procImeString(const std::u32string& text);
  virtual void procKillFocus(WindowMouse* newTarget) {}
  virtual void procContextMenu(int32_t x, int32_t y) {}
  // An input-method composition starts while this target has the focus; false turns the
  // input method off.
  virtual bool procFocusIme(bool& inputMethodOn) { return false; }
  virtual bool procDragOver(int32_t x, int32_t y, DropData& data) { return false; }
  virtual bool procDrop(int32_t x, int32_t y, DropData& data) { return false; }
  virtual void procDragLeave() {}
  virtual void procPickColor(std::optional<PickedColor> colour) {}
  virtual void procMouseHover() {}

  // Makes this target the receiver of a screen colour pick.
  void startPickColor();
  // Arms the hover timer again, so that another procMouseHover can follow.
  void trackHover();
  // Takes the keyboard focus (controls that edit text).
  void takeFocus();

  bool dragging = false;
  bool hovered = false;
  bool focused = false;
  bool enabled = true;
  bool visible = true;
  bool acceptsContextMenu = false;
  bool acceptsRightButton = false;
  bool acceptsWheel = false;
  bool acceptsDrop = false;
  WindowMouseService* mouseService;
  Rect* rect;
  int32_t priority;
};

class WindowMouseService : public System::Service<WindowMouseService> {
 public:
  // The key watch that lasts until the focus leaves, whatever key goes up.
  static constexpr int32_t kFocusWatch = 0x10000;

  WindowMouseService();
  ~WindowMouseService();
  WindowMouseService(const WindowMouseService&) = delete;
  WindowMouseService& operator=(const WindowMouseService&) = delete;

  // The window whose input is dispatched and whose cursor is set.
  void setWindow(QWidget* window);
  QWidget* window() const { return window_; }

  void addMouse(WindowMouse* target);
  // Forgets the target everywhere it is referenced.
  void removeMouse(WindowMouse* target);

  // The window's input as a toolkit event: true when the event was consumed. Positions are
  // window client coordinates.
  bool procEvent(QEvent* event);

  // The same input, one operation per kind (what procEvent calls).
  bool mouseMove(int32_t x, int32_t y);
  bool lButtonDown(int32_t x, int32_t y);
  bool lButtonUp(int32_t x, int32_t y);
  bool rButtonDown(int32_t x, int32_t y);
  bool rButtonUp(int32_t x, int32_t y);
  bool mouseWheel(int32_t x, int32_t y, int32_t delta);
  bool captureChanged();
  bool mouseHover();
  bool mouseLeave();
  bool contextMenu(int32_t x, int32_t y);
  bool keyDown(int32_t key);
  bool keyUp(int32_t key);
  bool character(char32_t character);
  bool sysKeyDown(int32_t key);
  void activate(bool active);
  bool killFocus();
  // An input-method composition starts; false when the input method was turned off.
  bool imeStartComposition();
  void imeResult(const std::u32string& text);
  // Where the input method shows its composition (window coordinates): from the point, in
  // the area of the text field.
  struct ImeComposition {
    int32_t x = 0;
    int32_t y = 0;
    Rect area;
  };
  void setImeComposition(const ImeComposition& composition);
  const ImeComposition& imeComposition() const { return imeComposition_; }
  // The composition's font (a family of at most 31 characters, a pixel height); true when
  // it differs from the one set last and was set.
  bool setImeFont(const std::string& family, int32_t height);
  const std::string& imeFontFamily() const { return imeFontFamily_; }
  int32_t imeFontHeight() const { return imeFontHeight_; }
  // Called by the focused target from procKeyDown: the characters of the key being handled
  // are not delivered (the key did all it means to).
  void discardCharacters() { discardCharacters_ = true; }
  bool dragOver(int32_t x, int32_t y, DropData& data);
  bool drop(int32_t x, int32_t y, DropData& data);
  bool dragLeave();

  // Called by the pressed target from its press handler with its local press point.
  void beginDrag(int32_t x, int32_t y, MouseCursor cursor);
  // Called by the pressed target from its press handler: it keeps the press without a drag
  // (a button), so it hears the release and the capture cancel but never procMouseDrag; the
  // press counts as moved.
  void ownPress() {
    if (!pressed_) return;
    pressed_->dragging = true;
    moved_ = true;
  }
  // Called by the pressed target from its press handler: another target (a part of it that
  // is dragged) takes over the press, as if it had been pressed itself.
  void handPress(WindowMouse* target) {
    if (pressed_ && target) changePressed(target);
  }
  // Moves the running drag's origin (window coordinates): the displacements that follow are
  // measured from there.
  void setDragOrigin(int32_t x, int32_t y) {
    originX_ = x;
    originY_ = y;
  }
  WindowMouse* findMouse(int32_t x, int32_t y,
                         const std::function<bool(WindowMouse&)>& predicate = {});
  // Takes the focus from its holder unless it is `target`; true when it was taken away.
  bool setFocus(WindowMouse* target);
  void takeFocus(WindowMouse* target);
  // The target is told through procKeyRelease when the virtual key goes up (kFocusWatch:
  // when the focus leaves); a null target ends the watch.
  void setKeyWatch(WindowMouse* target, int32_t key);
  WindowMouse* keyWatchTarget() const { return keyWatch_; }
  // The watched key; meaningful only while a target watches.
  int32_t keyWatchKey() const { return keyWatchKey_; }
  // Whether the modifier key (Shift, Ctrl or Alt, as a virtual key) is held down right now;
  // false for any other key, whose state cannot be read.
  bool isKeyDown(int32_t key) const;
  // A shortcut key ends a drag in progress: the pressed target stops dragging and hears of
  // the cancel when the drag had begun; the cursor becomes the default one.
  void cancelDrag();
  // The modifiers held with the key being handled.
  Qt::KeyboardModifiers keyModifiers() const { return keyModifiers_; }
  void startPickColor(WindowMouse* target);
  bool finishColorPick();
  void trackHover(WindowMouse* target);

  void setDefaultCursor(MouseCursor cursor) { defaultCursor_ = cursor; }
  MouseCursor defaultCursor() const { return defaultCursor_; }
  void setCursor(MouseCursor cursor) { wantedCursor_ = cursor; }
  MouseCursor wantedCursor() const { return wantedCursor_; }
  MouseCursor appliedCursor() const { return appliedCursor_; }
  // Shows the wanted cursor on the window when it is not shown yet.
  void updateWindowCursor();

  // Keys that no focused target takes go to the keyboard shortcuts.
  void setShortcutHandler(std::function<bool(int32_t key)> handler) {
    shortcuts_ = std::move(handler);
  }
  // The colour of the screen pixel under the pointer, for the colour pick.
  void setScreenPixelReader(std::function<std::optional<PickedColor>(QPoint)> reader) {
    screenPixel_ = std::move(reader);
  }
  // The modifier keys held down right now, as the keyboard reports them.
  void setModifierReader(std::function<Qt::KeyboardModifiers()> reader) {
    modifiers_ = std::move(reader);
  }
  // The clock of double clicks, wheel stickiness and the drag threshold (ms).
  void setClock(std::function<int64_t()> clock) { clock_ = std::move(clock); }
  // The pointer's screen position and its warp, for drags with the hidden cursor.
  void setCursorPositionAccess(std::function<QPoint()> get, std::function<void(QPoint)> set) {
    cursorPos_ = std::move(get);
    setCursorPos_ = std::move(set);
  }

  bool isDoubleClick() const { return doubleClick_; }
  bool isDragActive() const { return dragActive_; }
  bool isMoved() const { return moved_; }
  bool inputMethodOn() const { return inputMethod_; }
  WindowMouse* focusTarget() const { return focus_; }
  WindowMouse* pressedTarget() const { return pressed_; }
  WindowMouse* hoveredTarget() const { return hovered_; }
  WindowMouse* pickTarget() const { return pickTarget_; }
  const std::vector<WindowMouse*>& targets() const { return targets_; }

  // A short-lived message (a tooltip shown until the pointer moves) that the dispatcher
  // hides when the pointer moves or a button is pressed.
  void setTransientTipHider(std::function<void()> hider) { hideTip_ = std::move(hider); }
  // Hides whatever tip is shown (a drop and the end of a drag hide every tip).
  void setTipHider(std::function<void()> hider) { hideAnyTip_ = std::move(hider); }

 private:
  int64_t now() const;
  void clickStart(int32_t x, int32_t y, int button);
  void endHover();
  void changePressed(WindowMouse* target);
  void cancelPick();
  void setInputMethod(bool on);
  void armHover();
  // Clears the busy flag when a dispatch that found a target ends, also by an exception.
  struct BusyScope;

  QWidget* window_ = nullptr;
  std::vector<WindowMouse*> targets_;
  MouseCursor defaultCursor_ = MouseCursor::Arrow;
  MouseCursor wantedCursor_ = MouseCursor::Arrow;
  MouseCursor appliedCursor_ = MouseCursor::Arrow;
  bool inputMethod_ = true;
  WindowMouse* focus_ = nullptr;
  WindowMouse* pressed_ = nullptr;
  WindowMouse* hovered_ = nullptr;
  WindowMouse* dropHover_ = nullptr;
  WindowMouse* keyWatch_ = nullptr;
  int32_t keyWatchKey_ = 0;
  WindowMouse* pickTarget_ = nullptr;
  bool dragActive_ = false;
  int32_t originX_ = 0, originY_ = 0;
  bool moved_ = false;
  QPoint savedCursor_;
  int lastClickButton_ = 0;
  int64_t lastClickTime_ = 0;
  QPoint lastClickPos_{-1, -1};
  bool doubleClick_ = false;
  QPoint lastMove_{INT32_MIN, INT32_MIN};
  const WindowMouse* lastWheel_ = nullptr;  // only compared, never called
  int64_t lastWheelTime_ = 0;
  bool rightTookFocus_ = false;
  bool lastSysKeyResult_ = false;
  Qt::KeyboardModifiers keyModifiers_;
  // The last key press handled: its key, its window-system time and how long its handling
  // took (ms), to recognise the auto-repeats that queued up meanwhile.
  int32_t repeatKey_ = 0;
  uint64_t repeatStamp_ = 0;
  int64_t repeatBusy_ = 0;
  bool composing_ = false;
  bool discardCharacters_ = false;
  ImeComposition imeComposition_;
  std::string imeFontFamily_;
  int32_t imeFontHeight_ = 0;
  std::function<bool(int32_t)> shortcuts_;
  std::function<std::optional<PickedColor>(QPoint)> screenPixel_;
  std::function<Qt::KeyboardModifiers()> modifiers_;
  std::function<int64_t()> clock_;
  std::function<QPoint()> cursorPos_;
  std::function<void(QPoint)> setCursorPos_;
  std::function<void()> hideTip_;
  std::function<void()> hideAnyTip_;
  std::unique_ptr<QTimer> hoverTimer_;
};

// Set while a handler that a hit test found runs: nested dispatch (a modal loop inside a
// handler) then reaches no target.
bool isDispatchBusy();

}  // namespace Window
