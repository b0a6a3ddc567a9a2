#pragma once
// Controls: rectangular elements inside a docked window (buttons, bars, fields, rows).
//
// A control is placed by its layout values (x, y, w, h) relative to its parent rectangle (a
// negative x or y counts from the parent's right or bottom edge, a width or height of 0 or
// less stretches to the parent's far edge minus its magnitude) and clipped to its clip
// rectangle.
// Its input rectangle is the visible, clipped part, so local coordinates start at the visible
// top-left corner. Controls are grouped in a container that gives them the parent and clip
// rectangles and a scroll offset.
#include <cstdint>
#include <string>
#include <vector>

#include "ui/window_drawing.h"
#include "ui/window_mouse.h"

namespace Window {

class WindowControl;

struct WindowControlContainer {
  int32_t scrollX = 0;
  int32_t scrollY = 0;
  int32_t priority = 0;  // the controls' priority is one above it
  const Rect* clipRect = nullptr;
  const Rect* parentRect = nullptr;
  Rect rect;  // the parent rectangle moved by minus the scroll offset
  std::vector<WindowControl*> children;  // creation order; a child follows its parent

  // Places the own rectangle, then lays out every control and tells it it moved.
  void updateLayout();

  // The container of a window client's controls: it fills the client's rectangle and is
  // clipped to it; its controls take input at `priority` + 1.
  static WindowControlContainer filling(const Rect& clientRect, int32_t priority);
};

class WindowControl : public WindowMouse {
 public:
  WindowControl(WindowControlContainer& container, int32_t x, int32_t y, int32_t w, int32_t h);
  // A control inside another: clipped to the parent's visible rectangle and placed in its
  // full rectangle.
  WindowControl(WindowControl& parent, int32_t x, int32_t y, int32_t w, int32_t h);
  ~WindowControl() override;

  virtual void procPaint() = 0;
  virtual void procMove() {}
  // Places the full rectangle from the layout values and the parent rectangle.
  virtual void updateLayout();
  // Full rectangle from the edges; the visible one clamped into the clip rectangle.
  void setRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
  // The tooltip just right of the control, kept until its owner hides it.
  void showToolTip(const std::string& text);

  WindowControlContainer* container;
  Rect visibleRect;
  Rect fullRect;
  int32_t layoutX, layoutY, layoutW, layoutH;
  const Rect* clipRect;
  const Rect* parentRect;

 private:
  // A control's layout must not run before the members it reads are set, so the
  // constructors end with it rather than calling it through the base.
  void registerIn(WindowControlContainer& owner);
};

// A control that draws on the window's render target.
class WindowControlRenderTarget : public WindowControl {
 public:
  WindowControlRenderTarget(WindowControlContainer& container, int32_t x, int32_t y, int32_t w,
                            int32_t h)
      : WindowControl(container, x, y, w, h), drawing(currentWindowDrawing()) {}
  WindowControlRenderTarget(WindowControl& parent, int32_t x, int32_t y, int32_t w, int32_t h)
      : WindowControl(parent, x, y, w, h), drawing(currentWindowDrawing()) {}

  WindowDrawing drawing;
};

}  // namespace Window
