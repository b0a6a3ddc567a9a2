#pragma once
// The number slider: one value, an integer count of steps (units) shown with a fixed number of
// decimal digits, changed by a horizontal drag of its face (finer under Shift, nudged by the
// arrow keys during the drag) or by a minus and a plus button at its ends that repeat while
// held. Every change the user makes is bracketed by a change-begin and a change-end callback,
// so that the owner can make one undo step of it.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "gpu/text/text_format.h"
#include "ui/controls/button_control.h"
#include "ui/controls/icon_button_control.h"
#include "ui/window_control.h"

namespace Control {

class SliderInputControl : public Window::WindowControlRenderTarget {
 public:
  using Callback = std::function<void(SliderInputControl&)>;

  // How far a drag moves the value; the object setting window's options.
  struct MoveSetting {
    // 0: one pixel is 1.0; 1: the screen's width spans the range; other: the slider's width
    // spans the range.
    int32_t mode = 1;
    int32_t ratio = 100;  // percent of that
  };
  static MoveSetting moveSetting;

  // The face that shows the value and changes it by a horizontal drag.
  class SliderButton : public ButtonControl {
   public:
    SliderButton(SliderInputControl& owner, Window::WindowControlContainer& container);

    void procMouseMove(int32_t x, int32_t y) override;
    void procMouseDrag(int32_t dx, int32_t dy) override;
    bool procDragKey(int32_t key) override;
    void procLButtonDown(int32_t x, int32_t y) override;
    void procCaptureCancel() override;
    void procPaint() override;

    int32_t startValue = 0;
    int32_t startX = 0;
    bool shiftAtStart = false;

   private:
    SliderInputControl& owner_;
    // The displacement at the last re-basing: the drag counts from there.
    int32_t baseDx_ = 0;
  };

  // At (x, y), `height` high, stretched to the parent's right edge.
  SliderInputControl(Window::WindowControl& parent, int32_t x, int32_t y, int32_t height);

  // The value, its limits and its default from a step that is a power of ten (1, 0.1, ...).
  void setRange(double value, double minimumValue, double maximumValue, double step);
  // Shows `value` (in whole numbers, not units), kept inside the limits; no callback.
  void setValue(double value);
  // The text of the value: units / 10^digits with exactly `digits` decimals.
  void updateText();
  // A typed text (a decimal number) plus `offset` units becomes the value; an empty text
  // gives the default value, any other text that is not a number changes nothing. Opens a
  // change that the caller ends.
  void applyText(std::string_view typed, int32_t offset);
  // The drag's units per pixel and its two snapping steps, from the range and the setting.
  void updateMoveSpeed();

  // The change brackets: each calls its callback only when it changes the state.
  void beginChange();
  void endChange();

  void procPaint() override;
  void procMove() override;

  const uint32_t minimumWidthForButtons;
  int32_t value;
  int32_t defaultValue = 0;
  int32_t minimum = 0;
  int32_t maximum = 0;
  int32_t scale = 1;
  int32_t digits = 0;
  float unitsPerPixel = 1.0f;
  int32_t fineStep = 1;    // snapping of plain drags
  int32_t coarseStep = 1;  // units per pixel of Shift drags
  bool hidePointerWhileDragging = false;
  bool noStepButtons = false;
  bool alwaysShowStepButtons = false;
  std::string text;
  std::string zeroText;  // shown for 0 instead of the number when not empty
  Resource::TextFormatResource* font;
  bool leftGrip = false;
  bool rightGrip = false;
  bool valueCursor = false;
  bool changing = false;
  Callback valueChangedCallback;
  Callback changeBeginCallback;
  Callback changeEndCallback;
  Window::WindowControlContainer partContainer;
  RepeatClickButtonControl minusButton;
  RepeatClickButtonControl plusButton;
  SliderButton dragField;

 private:
  // A value the user chose, kept inside the limits; shown and reported when it is new.
  void setFromUser(int64_t newValue);
};

}  // namespace Control
