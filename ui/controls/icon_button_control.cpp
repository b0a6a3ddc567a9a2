#include "ui/controls/icon_button_control.h"

#include <algorithm>

#include "system/setting_service.h"
#include "ui/controls/control_paint.h"

namespace Control {
namespace {

// The keyboard's repeat delay and interval (ms), as the desktop gives them.
uint32_t keyDelay() {
  const auto* settings = Setting::SettingService::instance();
  return static_cast<uint32_t>(std::max(1, settings ? settings->system.keyDelay : 500));
}

uint32_t keyRepeatInterval() {
  const auto* settings = Setting::SettingService::instance();
  return static_cast<uint32_t>(std::max(1, settings ? settings->system.keyRepeatInterval : 100));
}

}  // namespace

IconButtonControl::IconButtonControl(Window::WindowControl& parent, int32_t x, int32_t w,
                                     const IconShape& shape, bool isBoxed)
    : ButtonControl(parent, x, 0, w, 0), icon(shape), boxed(isBoxed) {}

IconButtonControl::IconButtonControl(Window::WindowControlContainer& container,
                                     const IconShape& shape)
    : ButtonControl(container, 0, 0, 0, 0), icon(shape), boxed(false) {}

void IconButtonControl::procPaint() {
  if (!isPaintable(*this)) return;
  ControlDrawScope scope(*this);
  Window::StyleBrushList& brushes = scope.brushes();
  const Media::Brush& body = bodyBrush(*this, brushes);
  if (boxed || iconBrush) {
    const bool plainFace = !backgroundBrush || !iconBrush || hovered || dragging;
    scope.fillClip(plainFace ? body : *backgroundBrush);
  } else if (backgroundBrush) {
    scope.fillClip(*backgroundBrush);
  }

  // An unboxed icon without its own colour takes the body colour, so that the icon itself
  // shows hover and press.
  const Media::Brush& colour = iconBrush ? *iconBrush
                               : boxed   ? (enabled ? static_cast<const Media::Brush&>(
                                                          *brushes.Text.get())
                                                    : *brushes.TextDisable.get())
                                         : body;
  const float w = static_cast<float>(scope.width());
  const float h = static_cast<float>(scope.height());
  if (const float* t = icon.triangle) {
    const Media::Point2F points[3] = {{t[0] * w, t[1] * h}, {t[2] * w, t[3] * h},
                                      {t[4] * w, t[5] * h}};
    scope.target().fillPath(points, colour);
  }
  if (const float* r = icon.rectangle) {
    // Fractions of the size: rounded to pixel edges like every other fill.
    scope.target().fillRectangle(static_cast<int32_t>(r[0] * w), static_cast<int32_t>(r[1] * h),
                                 static_cast<int32_t>(r[2] * w), static_cast<int32_t>(r[3] * h),
                                 colour);
  }
  for (std::size_t i = 0; i + 5 <= icon.lines.size(); i += 5) {
    const float* line = &icon.lines[i];
    scope.drawLine({line[0] * w, line[1] * h}, {line[2] * w, line[3] * h}, line[4] * h, colour);
  }
  if (boxed) scope.drawBorder();
}

RepeatClickButtonControl::RepeatClickButtonControl(Window::WindowControlContainer& container)
    : IconButtonControl(container, IconShape{}) {}

RepeatClickButtonControl::RepeatClickButtonControl(Window::WindowControlContainer& container,
                                                   const IconShape& shape)
    : IconButtonControl(container, shape) {}

RepeatClickButtonControl::~RepeatClickButtonControl() { repeatTimer_.clear(); }

void RepeatClickButtonControl::setRepeat(uint32_t periodMs, bool first) {
  repeatPeriod_ = periodMs;
  repeatTimer_.set(periodMs, [this, first] {
    // The first tick ends the delay: from then on the button repeats at the key rate.
    if (first) setRepeat(keyRepeatInterval(), false);
    click();
  });
}

void RepeatClickButtonControl::procLButtonDown(int32_t, int32_t) {
  if (Callback callback = pressCallback) callback(*this);
  ownPress();
  redraw();
  click();
  setRepeat(keyDelay(), true);
}

void RepeatClickButtonControl::procCaptureCancel() {
  repeatTimer_.clear();
  redraw();
  if (Callback callback = releaseCallback) callback(*this);
}

}  // namespace Control
