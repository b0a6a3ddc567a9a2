#pragma once
// The scroll bar: an integer content range with its visible part shown as a thumb between two
// arrow buttons. The bar never scrolls by itself: the arrows, a click on the track, the wheel
// and a drag of the thumb only ask its owner through the scroll callback, and the owner
// answers by setting the range and the view and repainting.
#include <cstdint>
#include <functional>

#include "ui/controls/icon_button_control.h"
#include "ui/controls/bar_part_mouse.h"
#include "ui/window_control.h"

namespace Control {

class ScrollBarControl : public Window::WindowControlRenderTarget {
 public:
  using ScrollCallback = std::function<void(ScrollBarControl&, int32_t newStart)>;

  // The thumb: a drag of it asks for new values.
  class BarMouse : public BarPartMouse {
   public:
    explicit BarMouse(ScrollBarControl& owner);

    void procMouseDrag(int32_t dx, int32_t dy) override;

    ScrollBarControl& bar;
  };

  // A vertical bar at (x, y), `width` wide, stretched to the bottom of the container.
  ScrollBarControl(Window::WindowControlContainer& owner, int32_t x, int32_t y, int32_t width);
  // A height of 0 or less makes a vertical bar, else a width of 0 or less a horizontal one;
  // with both sizes given the longer side decides, and the arrows stay blank.
  ScrollBarControl(Window::WindowControl& parent, int32_t x, int32_t y, int32_t width,
                   int32_t height);

  // The visible part, kept inside the range (no repaint, no callback).
  void setViewRange(int32_t start, int32_t end);
  // Centres the view on a fraction of the range; nothing when the view covers it all.
  void setViewRatio(float fraction);
  // Asks the owner to scroll to `newStart`, kept inside the range, when it changes anything.
  void requestScroll(int32_t newStart);
  // Shows or hides the bar with its arrows and its thumb.
  void setShown(bool shown);

  void procLButtonDown(int32_t x, int32_t y) override;
  void procMouseWheel(int32_t x, int32_t y, int32_t delta) override;
  void procPaint() override;
  void procMove() override;

  const Media::Brush* trackBrush = nullptr;  // the style's Background when none is set
  int32_t minimum = 0;
  int32_t maximum = 0;
  int32_t viewStart = 0;
  int32_t viewEnd = 0;  // inclusive
  int32_t step = 1;     // per arrow click and per wheel message
  bool vertical = true;
  int32_t arrowSize = 0;
  int32_t trackLength = 0;
  float startFraction = 0.0f;
  float endFraction = 1.0f;
  float thumbStart = 0.0f;  // pixels along the track
  float thumbEnd = 0.0f;
  int32_t dragStartView = 0;
  ScrollCallback scrollCallback;
  Window::WindowControlContainer arrowContainer;
  RepeatClickButtonControl firstArrow;   // up or left
  RepeatClickButtonControl secondArrow;  // down or right
  BarMouse thumb;

 private:
  void setUp(bool withIcons);
  // The fractions, the thumb's extent and its input rectangle from the view.
  void updateThumb();
  void updateChildVisibility();
};

}  // namespace Control
