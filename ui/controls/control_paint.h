#pragma once
// What every drawn control of the library shares when it paints: the draw scope over its
// visible part with the origin at its top-left corner, the body colour of its state, the
// border, text drawn from a layout, and the fonts and stroke style it draws with.
#include <cstdint>
#include <string>

#include "gpu/draw2d/render_target.h"
#include "gpu/resource/resource_service.h"
#include "gpu/text/text_format.h"
#include "ui/window_control.h"

namespace Control {

// True when the control would draw anything: it is visible, its visible part is not empty
// and there is a window to draw on.
bool isPaintable(const Window::WindowControlRenderTarget& control);

// A control's paint: the visible rectangle is the clip, the control's full rectangle's
// top-left corner the origin, so that shapes are given in control coordinates.
class ControlDrawScope {
 public:
  // Only for a paintable control.
  explicit ControlDrawScope(Window::WindowControlRenderTarget& control);
  ControlDrawScope(const ControlDrawScope&) = delete;
  ControlDrawScope& operator=(const ControlDrawScope&) = delete;

  Media::RenderTarget& target() { return target_; }
  Window::StyleBrushList& brushes() { return brushes_; }
  int32_t width() const { return control_.fullRect.width; }
  int32_t height() const { return control_.fullRect.height; }
  // Fills the visible part of the control.
  void fillClip(const Media::Brush& brush);
  // The 2-pixel outline over the whole control in `Border`.
  void drawBorder();
  // Draws a laid-out text with its top-left corner at (x, y).
  void drawLayout(PangoLayout* layout, int32_t x, int32_t y, const Media::Brush& brush);
  // A rectangle with fractional edges (bars whose parts are fractions of their length).
  void fillRectangle(float left, float top, float right, float bottom, const Media::Brush& brush);
  // A line with a fractional width, for icons that scale with the control.
  void drawLine(Media::Point2F from, Media::Point2F to, float width, const Media::Brush& brush);

 private:
  Window::WindowControlRenderTarget& control_;
  Media::RenderTarget& target_;
  Window::StyleBrushList& brushes_;
  Media::RenderTarget::DrawScope scope_;
};

// The body colour of a control's state: disabled, pressed (it owns the press), hovered, or
// the plain body.
Media::SolidColorBrush& bodyBrush(const Window::WindowMouse& control,
                                  Window::StyleBrushList& brushes);

// Paints the control at once and lets the window show it.
void repaint(Window::WindowControl& control);

// A text format of the shared resources; the same style fonts, made here, while the
// resource service does not exist (a window made without the graphics device).
Resource::TextFormatResource& textFormat(Resource::ResourceService::TextFormatIndex index);

// Laid out with the format (no size limit) and measured in whole pixels, rounded up.
struct MeasuredText {
  Media::ComResourcePtr<PangoLayout> layout;
  int32_t width = 0;
  int32_t height = 0;
};
MeasuredText measureText(Resource::TextFormatResource& format, const std::string& text);

// The tooltip at the pointer, moved down by the cursor's height, until its owner hides it.
void showToolTipAtCursor(const std::string& text);

// The round-capped stroke of icon lines.
const Media::StrokeStyle* iconLineStyle();

}  // namespace Control
