#pragma once
// A bitmap button whose value follows a vertical drag (the player's volume): up raises it by
// one step per two pixels, and the value's text shows in a tooltip beside the button. What
// the value means, its limits and its text belong to the subclass.
#include <cstdint>
#include <string>

#include "ui/controls/button_control.h"

namespace Component {

class SliderButtonControl : public Control::BitmapButtonControl {
 public:
  using BitmapButtonControl::BitmapButtonControl;

  void procLButtonDown(int32_t x, int32_t y) override;
  void procMouseDrag(int32_t dx, int32_t dy) override;

 protected:
  virtual int32_t getValue() = 0;
  virtual std::string getValueText() = 0;
  // The value `steps` steps away from the one the drag started at.
  virtual void setDragValue(int32_t startValue, int32_t steps) = 0;

 private:
  int32_t startValue_ = 0;
};

}  // namespace Component
