#pragma once
// The buttons of the control library: drawn controls that fire on the press of the left
// button (not its release), show their state in the style's button colours and report to
// their owner through callables. Owners set the fields directly after construction.
#include <cstdint>
#include <functional>
#include <string>

#include "ui/window_control.h"

namespace Control {

class ButtonControl : public Window::WindowControlRenderTarget {
 public:
  using Callback = std::function<void(ButtonControl&)>;

  ButtonControl(Window::WindowControlContainer& container, int32_t x, int32_t y, int32_t w,
                int32_t h);
  ButtonControl(Window::WindowControl& parent, int32_t x, int32_t y, int32_t w, int32_t h);

  // The press: the button owns it until the release (it shows pressed meanwhile), repaints,
  // then fires the click.
  void procLButtonDown(int32_t x, int32_t y) override;
  void procMouseEnter() override { redraw(); }
  void procMouseLeave() override { redraw(); }
  void procCaptureCancel() override { redraw(); }
  // The tooltip text below the pointer, when there is one.
  void procMouseHover() override;

  // Paints the button at once, so that hover and press show without delay.
  void redraw();

  Callback clickCallback;
  std::string toolTipText;

 protected:
  // Makes the button the owner of the current press without starting a drag.
  void ownPress();
  void click();
};

// A bitmap stretched over the button; a selected one is framed.
class BitmapButtonControl : public ButtonControl {
 public:
  using ButtonControl::ButtonControl;

  void procPaint() override;

  const Media::Bitmap* bitmap = nullptr;  // not owned
  bool selected = false;
  // The face in the normal state; without one no body is drawn in any state.
  const Media::Brush* backgroundBrush = nullptr;
};

}  // namespace Control
