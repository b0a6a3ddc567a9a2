#include "ui/controls/text_button_control.h"

#include <algorithm>

#include "ui/controls/control_paint.h"

namespace Control {
namespace {

// Texts keep this far from the edges of a button.
constexpr int32_t kTextMargin = 3;

}  // namespace

TextButtonControl::TextButtonControl(Window::WindowControl& parent, int32_t x, int32_t y,
                                     int32_t w, int32_t h, int32_t mode)
    : ButtonControl(parent, x, y, w, h),
      font(&textFormat(Resource::ResourceService::kControl)),
      alignment(mode) {}

void TextButtonControl::procPaint() {
  if (!isPaintable(*this)) return;
  ControlDrawScope scope(*this);
  Window::StyleBrushList& brushes = scope.brushes();
  scope.fillClip(bodyBrush(*this, brushes));

  const int32_t w = scope.width(), h = scope.height();
  MeasuredText measured = measureText(*font, text);
  int32_t left = 0;
  switch (alignment) {
    case kCentred: left = (w - measured.width) / 2; break;
    case kDropDown: left = measured.height / 6; break;
    case kTrimmed:
      Resource::TextLayout::setTrimming(measured.layout.get(), w - 4,
                                        *Resource::TextFormat::getTrimmingSign(*font));
      left = (w - measured.width) / 2;
      break;
    default: break;
  }
  const bool placed = alignment >= kCentred && alignment <= kTrimmed;
  const int32_t top = placed ? (h - measured.height) / 2 : 0;
  const Media::Brush& textBrush =
      enabled ? static_cast<const Media::Brush&>(*brushes.Text.get()) : *brushes.TextDisable.get();
  scope.drawLayout(measured.layout.get(), std::max(kTextMargin, left), std::max(kTextMargin, top),
                   textBrush);

  if (alignment == kDropDown) {
    const float f = static_cast<float>(measured.height) / 5.0f;
    const float x = static_cast<float>(w) - static_cast<float>(measured.height) * 0.25f;
    const float y = static_cast<float>(h) * 0.5f;
    const Media::Point2F arrow[3] = {{x, y - f}, {x - 3.0f * f, y - f}, {x - 1.5f * f, y + f}};
    scope.target().fillPath(arrow, *brushes.Text.get());
  }
  scope.drawBorder();
}

void TextButtonWheelControl::procMouseEnter() {
  acceptsWheel = static_cast<bool>(wheelCallback);
  redraw();
}

void TextButtonWheelControl::procMouseLeave() {
  acceptsWheel = false;
  redraw();
}

bool TextButtonWheelControl::acceptWheel() {
  if (!wheelCallback || !hovered) return false;
  return wheelPredicate ? wheelPredicate(*this) : true;
}

void TextButtonWheelControl::procMouseWheel(int32_t, int32_t, int32_t delta) {
  if (WheelCallback callback = wheelCallback; callback && hovered) callback(*this, delta);
}

TextIconButtonControl::IconControl::IconControl(TextIconButtonControl& button)
    : WindowMouse(&area, kPriority), button_(button) {
  visible = false;  // until the button has an icon and has been placed
}

void TextIconButtonControl::IconControl::procLButtonDown(int32_t, int32_t) {
  if (Callback callback = button_.iconClickCallback) callback(button_);
}

void TextIconButtonControl::IconControl::procMouseHover() {
  if (!button_.iconToolTipText.empty()) showToolTipAtCursor(button_.iconToolTipText);
}

TextIconButtonControl::TextIconButtonControl(Window::WindowControl& parent, int32_t w,
                                             std::string label)
    : ButtonControl(parent, 0, 0, w, 0),
      font(&textFormat(Resource::ResourceService::kControl)),
      text(std::move(label)),
      iconControl(*this) {}

void TextIconButtonControl::procMove() {
  iconControl.visible = iconBitmap != nullptr;
  const Window::Rect& shown = visibleRect;
  iconControl.area = {shown.x + shown.width - shown.height, shown.y, shown.height, shown.height};
}

void TextIconButtonControl::procPaint() {
  if (!isPaintable(*this)) return;
  ControlDrawScope scope(*this);
  Window::StyleBrushList& brushes = scope.brushes();
  scope.fillClip(bodyBrush(*this, brushes));

  MeasuredText measured = measureText(*font, text);
  const Media::Brush& textBrush =
      enabled ? static_cast<const Media::Brush&>(*brushes.Text.get()) : *brushes.TextDisable.get();
  scope.drawLayout(measured.layout.get(),
                   std::max(kTextMargin, (scope.width() - measured.width) / 2),
                   std::max(kTextMargin, (scope.height() - measured.height) / 2), textBrush);

  if (iconBitmap) {
    const Window::Rect& square = iconControl.area;
    const int32_t left = square.x - fullRect.x, top = square.y - fullRect.y;
    const int32_t right = left + square.width, bottom = top + square.height;
    if (iconControl.hovered) {
      const Media::Brush& face = !iconControl.enabled ? *brushes.ButtonBodyDisable.get()
                                 : iconControl.dragging ? *brushes.ButtonBodyPress.get()
                                                        : *brushes.ButtonBodyHover.get();
      scope.target().fillRectangle(left, top, right, bottom, face);
    }
    scope.target().drawBitmap(*iconBitmap, left + 3, top + 3, right - 3, bottom - 3,
                              iconControl.hovered ? 1.0f : 0.7f);
  }
  scope.drawBorder();
}

}  // namespace Control
