#pragma once
// Buttons with a small vector icon that scales with the button, and the button that repeats
// its click while held (the scroll bar's arrows).
#include <cstdint>
#include <span>

#include "system/timer.h"
#include "ui/controls/button_control.h"

namespace Control {

// An icon as fractions of the button's width and height. The tables it points to are static
// and outlive every button.
struct IconShape {
  const float* triangle = nullptr;   // x0, y0, x1, y1, x2, y2
  const float* rectangle = nullptr;  // left, top, right, bottom
  // Segments of five: x0, y0, x1, y1 and the width as a fraction of the height.
  std::span<const float> lines;
};

// The arrows of the scroll bar's buttons.
namespace Arrow {
inline constexpr float kUp[6] = {0.2f, 0.7f, 0.8f, 0.7f, 0.5f, 0.25f};
inline constexpr float kDown[6] = {0.2f, 0.3f, 0.8f, 0.3f, 0.5f, 0.75f};
inline constexpr float kLeft[6] = {0.7f, 0.2f, 0.7f, 0.8f, 0.25f, 0.5f};
inline constexpr float kRight[6] = {0.3f, 0.2f, 0.3f, 0.8f, 0.75f, 0.5f};
}  // namespace Arrow

class IconButtonControl : public ButtonControl {
 public:
  // At (x, 0), `w` wide and as tall as the parent.
  IconButtonControl(Window::WindowControl& parent, int32_t x, int32_t w, const IconShape& icon,
                    bool boxed);

  void procPaint() override;

  IconShape icon;
  const bool boxed;
  const Media::Brush* backgroundBrush = nullptr;
  const Media::Brush* iconBrush = nullptr;

 protected:
  IconButtonControl(Window::WindowControlContainer& container, const IconShape& icon);
};

// Fires once at the press, again after the keyboard's repeat delay and then at its repeat
// rate until the press ends.
class RepeatClickButtonControl : public IconButtonControl {
 public:
  // At (0, 0, 0, 0), placed later by the owner; not boxed.
  explicit RepeatClickButtonControl(Window::WindowControlContainer& container);
  RepeatClickButtonControl(Window::WindowControlContainer& container, const IconShape& icon);
  ~RepeatClickButtonControl() override;

  void procLButtonDown(int32_t x, int32_t y) override;
  // The press ended (released, or the capture lost): the repeat stops at once.
  void procCaptureCancel() override;

  // The period the repeat timer runs at, 0 while it is not set.
  uint32_t repeatPeriod() const { return repeatTimer_.isSet() ? repeatPeriod_ : 0; }
  System::Timer::Identifier repeatTimer() const { return repeatTimer_.identifier(); }

  Callback pressCallback;
  Callback releaseCallback;

 private:
  void setRepeat(uint32_t periodMs, bool first);

  System::Timer repeatTimer_;
  uint32_t repeatPeriod_ = 0;
};

}  // namespace Control
