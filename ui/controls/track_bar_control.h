#pragma once
// The track bar (the player's seek bar): an integer range with the current value shown by a
// handle that can be dragged, and two marked ranges drawn on the track. Like the scroll bar it
// never changes its own value: a click or a drag asks its owner through the change callback,
// and the owner sets the value.
#include <cstdint>
#include <functional>

#include "ui/controls/bar_part_mouse.h"
#include "ui/window_control.h"

namespace Control {

class ControlDrawScope;

class TrackBarControl : public Window::WindowControlRenderTarget {
 public:
  using ChangeCallback = std::function<void(TrackBarControl&, int32_t newValue)>;

  // The handle: a drag of it asks for new values.
  class BarMouse : public BarPartMouse {
   public:
    explicit BarMouse(TrackBarControl& owner);

    void procMouseDrag(int32_t dx, int32_t dy) override;

    TrackBarControl& bar;
  };

  TrackBarControl(Window::WindowControl& parent, int32_t x, int32_t y, int32_t width,
                  int32_t height);

  // The range from 0 to `n` (either way round); the value and the marked ranges are kept
  // inside it.
  void setRange(int32_t n);
  void setSelectRange(int32_t start, int32_t end);
  void setSubRange(int32_t start, int32_t end);
  // Stores the value (kept inside the range) and moves the handle to it; for the owner.
  void setValue(int32_t newValue);
  // Asks the owner for `newValue`, kept inside the range, when it differs from the value.
  void changeValue(int32_t newValue);
  // The handle's size and the pixels of the value and the marked ranges.
  void updateGeometry();

  void procLButtonDown(int32_t x, int32_t y) override;
  void procPaint() override;
  void procMove() override { updateGeometry(); }

  int32_t minimum = 0;
  int32_t maximum = 0;
  int32_t value = 0;
  int32_t selectStart = 0, selectEnd = 0;  // empty when start = end
  int32_t subStart = 0, subEnd = 0;
  int32_t trackLength = 0;
  float handleHalfWidth = 0.0f;  // r
  float margin = 0.0f;           // m
  float valueFraction = 0.0f;
  float handlePosition = 0.0f;
  int32_t dragStartValue = 0;
  float selectStartFraction = 0.0f, selectEndFraction = 0.0f;
  float subStartFraction = 0.0f, subEndFraction = 0.0f;
  float selectStartPixel = 0.0f, selectEndPixel = 0.0f;
  float subStartPixel = 0.0f, subEndPixel = 0.0f;
  ChangeCallback changeCallback;
  BarMouse handle;

 private:
  // The fields of one marked range.
  struct MarkedRange {
    int32_t* start;
    int32_t* end;
    float* startFraction;
    float* endFraction;
  };
  void setMarkedRange(MarkedRange range, int32_t start, int32_t end);
  float fractionOf(int32_t v) const;
  // A vertical line over the whole height with a small triangle at each end.
  void drawRangeMark(ControlDrawScope& scope, float x, const Media::Brush& brush);
};

}  // namespace Control
