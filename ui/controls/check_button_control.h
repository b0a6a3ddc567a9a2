#pragma once
// Buttons that hold a checked state, toggled by each click: with a drawn tick, with two
// bitmaps, or with a text that is bright while checked.
#include <cstdint>
#include <functional>
#include <string>

#include "gpu/text/text_format.h"
#include "ui/controls/button_control.h"
#include "ui/controls/control_paint.h"

namespace Control {

class CheckButtonControl : public ButtonControl {
 public:
  // The face while neither hovered, pressed nor framed and checked; empty: `Grouping`.
  using BodyBrushProvider = std::function<const Media::Brush*()>;

  CheckButtonControl(Window::WindowControl& parent, int32_t x, int32_t y, int32_t w, int32_t h);

  // Stores the callback and makes each click toggle the check, then tell the callback.
  void setCheckCallback(Callback callback);
  void procPaint() override;

  bool checked = false;
  bool framed = true;
  Callback checkCallback;
  BodyBrushProvider bodyBrushProvider;

 protected:
  // Draws what shows the check on the body, inside the paint's scope.
  virtual void drawCheck(ControlDrawScope& scope);
};

class CheckBitmapButtonControl : public CheckButtonControl {
 public:
  CheckBitmapButtonControl(Window::WindowControl& parent, int32_t x, int32_t y, int32_t w,
                           int32_t h);

  const Media::Bitmap* checkedBitmap = nullptr;    // not owned
  const Media::Bitmap* uncheckedBitmap = nullptr;  // not owned

 protected:
  void drawCheck(ControlDrawScope& scope) override;
};

class CheckTextButtonControl : public CheckButtonControl {
 public:
  using CheckButtonControl::CheckButtonControl;

  Resource::TextFormatResource* font = &textFormat(Resource::ResourceService::kControl);
  std::string text;

 protected:
  void drawCheck(ControlDrawScope& scope) override;
};

}  // namespace Control
