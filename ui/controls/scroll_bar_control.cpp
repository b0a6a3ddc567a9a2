#include "ui/controls/scroll_bar_control.h"

#include <algorithm>
#include <cmath>

#include "ui/controls/control_paint.h"
#include "ui/controls/inner_container.h"

namespace Control {
namespace {

constexpr float kThumbOverhang = 3.0f;  // the thumb reaches this far past its view's ends

int32_t roundToInt(float value) { return static_cast<int32_t>(std::lround(value)); }

}  // namespace

ScrollBarControl::BarMouse::BarMouse(ScrollBarControl& owner)
    : BarPartMouse(owner, owner.viewStart, owner.dragStartView), bar(owner) {}

void ScrollBarControl::BarMouse::procMouseDrag(int32_t dx, int32_t dy) {
  if (bar.trackLength <= 0) return;
  const float moved = static_cast<float>(bar.vertical ? dy : dx);
  const float range = static_cast<float>(bar.maximum - bar.minimum);
  bar.requestScroll(bar.dragStartView +
                    static_cast<int32_t>(range * moved / static_cast<float>(bar.trackLength)));
}

ScrollBarControl::ScrollBarControl(Window::WindowControlContainer& owner, int32_t x, int32_t y,
                                   int32_t width)
    : WindowControlRenderTarget(owner, x, y, width, 0),
      arrowContainer(innerContainer(*this)),
      firstArrow(arrowContainer),
      secondArrow(arrowContainer),
      thumb(*this) {
  setUp(true);
}

ScrollBarControl::ScrollBarControl(Window::WindowControl& parent, int32_t x, int32_t y,
                                   int32_t width, int32_t height)
    : WindowControlRenderTarget(parent, x, y, width, height),
      arrowContainer(innerContainer(*this)),
      firstArrow(arrowContainer),
      secondArrow(arrowContainer),
      thumb(*this) {
  if (height <= 0)
    vertical = true;
  else if (width <= 0)
    vertical = false;
  else
    vertical = width < height;
  setUp(height <= 0 || width <= 0);
}

void ScrollBarControl::setUp(bool withIcons) {
  acceptsWheel = true;
  if (withIcons) {
    firstArrow.icon.triangle = vertical ? Arrow::kUp : Arrow::kLeft;
    secondArrow.icon.triangle = vertical ? Arrow::kDown : Arrow::kRight;
  }
  firstArrow.clickCallback = [this](ButtonControl&) { requestScroll(viewStart - step); };
  secondArrow.clickCallback = [this](ButtonControl&) { requestScroll(viewStart + step); };
  arrowContainer.updateLayout();
  updateThumb();
  procMove();
}

void ScrollBarControl::updateThumb() {
  // An empty or inverted range (maximum below minimum) has nothing to scroll: the thumb
  // then fills the track instead of dividing by zero.
  const int32_t count = maximum - minimum + 1;
  if (count > 0) {
    startFraction = static_cast<float>(viewStart - minimum) / static_cast<float>(count);
    endFraction = static_cast<float>(viewEnd - minimum + 1) / static_cast<float>(count);
  } else {
    startFraction = 0.0f;
    endFraction = 1.0f;
  }
  const float track = static_cast<float>(trackLength);
  thumbStart = track * startFraction - kThumbOverhang;
  thumbEnd = track * endFraction + kThumbOverhang;
  const int32_t along = arrowSize + roundToInt(thumbStart);
  const int32_t extent = roundToInt(thumbEnd - thumbStart) + 1;
  if (vertical)
    thumb.area = {visibleRect.x, visibleRect.y + along, visibleRect.width, extent};
  else
    thumb.area = {visibleRect.x + along, visibleRect.y, extent, visibleRect.height};
}

void ScrollBarControl::setViewRange(int32_t start, int32_t end) {
  viewStart = limitTo(start, minimum, maximum);
  viewEnd = limitTo(end, viewStart, maximum);
  updateThumb();
}

void ScrollBarControl::setViewRatio(float fraction) {
  const int32_t length = viewEnd - viewStart;
  const int32_t total = maximum - minimum;
  if (length >= total) return;
  const int32_t start =
      minimum + roundToInt(static_cast<float>(total + 1) * fraction - static_cast<float>(length) * 0.5f);
  const int32_t limited = limitTo(start, minimum, maximum - length);
  setViewRange(limited, limited + length);
}

void ScrollBarControl::requestScroll(int32_t newStart) {
  newStart = limitTo(newStart, minimum, maximum - (viewEnd - viewStart));
  if (newStart == viewStart) return;
  if (ScrollCallback callback = scrollCallback) callback(*this, newStart);
}

void ScrollBarControl::setShown(bool shown) {
  visible = shown;
  updateChildVisibility();
}

void ScrollBarControl::updateChildVisibility() {
  firstArrow.visible = secondArrow.visible = visible && arrowSize > 0;
  thumb.visible = visible;
}

void ScrollBarControl::procMove() {
  const int32_t length = vertical ? visibleRect.height : visibleRect.width;
  const int32_t across = vertical ? visibleRect.width : visibleRect.height;
  arrowSize = std::min(across, std::max(0, length / 2 - 3));
  trackLength = std::max(0, length - 2 * arrowSize);
  // Each arrow spans the bar across and takes `arrowSize` at its end along it.
  auto place = [this](RepeatClickButtonControl& arrow, int32_t along) {
    (vertical ? arrow.layoutX : arrow.layoutY) = 0;
    (vertical ? arrow.layoutW : arrow.layoutH) = 0;
    (vertical ? arrow.layoutY : arrow.layoutX) = along;
    (vertical ? arrow.layoutH : arrow.layoutW) = arrowSize;
  };
  place(firstArrow, 0);
  place(secondArrow, -arrowSize);
  // An arrow of no size would stretch over the bar: it is hidden instead.
  updateChildVisibility();
  updateThumb();
  arrowContainer.updateLayout();
}

void ScrollBarControl::procLButtonDown(int32_t x, int32_t y) {
  const float along = static_cast<float>((vertical ? y : x) - arrowSize);
  if (along < (thumbStart + thumbEnd) * 0.5f)
    requestScroll(2 * viewStart - viewEnd);
  else
    requestScroll(viewEnd);
}

void ScrollBarControl::procMouseWheel(int32_t, int32_t, int32_t delta) {
  // Turned toward the user (a negative delta): forward through the content.
  requestScroll(delta <= 0 ? viewStart + step : viewStart - step);
}

void ScrollBarControl::procPaint() {
  if (!isPaintable(*this)) return;
  ControlDrawScope scope(*this);
  Window::StyleBrushList& brushes = scope.brushes();
  scope.fillClip(trackBrush ? *trackBrush : *brushes.Background.get());
  firstArrow.procPaint();
  secondArrow.procPaint();

  // The thumb, clipped to the track between the arrows, in track coordinates.
  Window::Rect track = visibleRect;
  if (vertical) {
    track.y += arrowSize;
    track.height = std::max(0, track.height - 2 * arrowSize);
  } else {
    track.x += arrowSize;
    track.width = std::max(0, track.width - 2 * arrowSize);
  }
  if (track.width <= 0 || track.height <= 0) return;
  Media::RenderTarget& target = scope.target();
  Media::RenderTarget::DrawScope trackScope(target, track.x, track.y, track.x + track.width,
                                            track.y + track.height, true);
  target.originX = vertical ? visibleRect.x : visibleRect.x + arrowSize;
  target.originY = vertical ? visibleRect.y + arrowSize : visibleRect.y;
  const float w = static_cast<float>(visibleRect.width);
  const float h = static_cast<float>(visibleRect.height);
  const float inset = std::max(0.5f, 0.2f * (vertical ? w : h));
  const Media::Brush& body = bodyBrush(thumb, brushes);
  if (vertical)
    scope.fillRectangle(inset, thumbStart, w - inset, thumbEnd, body);
  else
    scope.fillRectangle(thumbStart, inset, thumbEnd, h - inset, body);
}

}  // namespace Control
