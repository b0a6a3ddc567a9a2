#include "gpu/draw2d/render_target.h"

#include <exception>
#include <numbers>

#include "gpu/hresult.h"
#include "system/exception.h"
#include "system/log.h"

namespace Media {
namespace {

int32_t codeOf(cairo_status_t status) {
  if (status == CAIRO_STATUS_SUCCESS) return 0;
  return status == CAIRO_STATUS_NO_MEMORY ? Hresult::kOutOfMemory : Hresult::kFail;
}

void checkStatus(cairo_t* context, const char* call, const char* place) {
  if (const int32_t code = codeOf(cairo_status(context)); code != 0)
    throw System::makeHresultException(call, place, code);
}

}  // namespace

DrawTarget::DrawTarget(cairo_surface_t* surface)
    : surface_(cairo_surface_reference(surface)), context_(cairo_create(surface)) {}

DrawTarget::~DrawTarget() {
  cairo_destroy(context_);
  cairo_surface_destroy(surface_);
}

void DrawTarget::beginDraw() {
  ++beginDraws_;
  cairo_save(context_);
}

int32_t DrawTarget::endDraw() {
  ++endDraws_;
  cairo_restore(context_);
  cairo_surface_flush(surface_);
  if (const int32_t code = codeOf(cairo_status(context_)); code != 0) return code;
  return codeOf(cairo_surface_status(surface_));
}

void DrawTarget::pushAxisAlignedClip(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  ++clipPushes_;
  cairo_save(context_);
  cairo_rectangle(context_, left, top, right - left, bottom - top);
  cairo_clip(context_);
}

void DrawTarget::popAxisAlignedClip() { cairo_restore(context_); }

RenderTarget::RenderTarget(DrawTarget* drawTarget, int32_t width, int32_t height)
    : clipWidth(width), clipHeight(height), target(drawTarget), root(this) {}

RenderTarget::RenderTarget(RenderTarget& rootTarget)
    : clipWidth(rootTarget.clipWidth),
      clipHeight(rootTarget.clipHeight),
      target(rootTarget.target),
      root(rootTarget.root) {}

void RenderTarget::beginDraw() {
  if (root->drawCount++ == 0 && root->target) root->target->beginDraw();
}

void RenderTarget::endDraw() {
  if (root->drawCount <= 0) return;
  if (--root->drawCount == 0 && root->target) {
    if (const int32_t code = root->target->endDraw(); code != 0)
      throw System::makeHresultException("target->EndDraw", "Media::RenderTarget::endDraw", code);
  }
}

RenderTarget::DrawScope::DrawScope(RenderTarget& renderTarget, int32_t left, int32_t top,
                                   int32_t right, int32_t bottom, bool absolute)
    : target_(renderTarget),
      savedX_(renderTarget.clipX),
      savedY_(renderTarget.clipY),
      savedWidth_(renderTarget.clipWidth),
      savedHeight_(renderTarget.clipHeight),
      savedOriginX_(renderTarget.originX),
      savedOriginY_(renderTarget.originY),
      exceptions_(std::uncaught_exceptions()) {
  target_.beginDraw();
  try {
    const int32_t width = right - left;
    const int32_t height = bottom - top;
    if (absolute) {
      target_.clipX = left;
      target_.clipY = top;
      target_.clipWidth = width;
      target_.clipHeight = height;
      target_.originX = left;
      target_.originY = top;
      if (left == savedX_ && top == savedY_ && width == savedWidth_ && height == savedHeight_)
        return;
    } else {
      target_.clipX = savedX_ + left;
      target_.clipY = savedY_ + top;
      target_.clipWidth = width;
      target_.clipHeight = height;
      target_.originX = target_.clipX;
      target_.originY = target_.clipY;
    }
    if (target_.target)
      target_.target->pushAxisAlignedClip(target_.clipX, target_.clipY, target_.clipX + width,
                                          target_.clipY + height);
    clipPushed_ = true;
  } catch (...) {
    target_.endDraw();
    throw;
  }
}

RenderTarget::DrawScope::~DrawScope() noexcept(false) {
  if (clipPushed_ && target_.target) target_.target->popAxisAlignedClip();
  target_.clipX = savedX_;
  target_.clipY = savedY_;
  target_.clipWidth = savedWidth_;
  target_.clipHeight = savedHeight_;
  target_.originX = savedOriginX_;
  target_.originY = savedOriginY_;
  try {
    target_.endDraw();
  } catch (const std::exception& error) {
    // Throwing now would end the program: the exception that unwinds this scope goes on.
    if (std::uncaught_exceptions() <= exceptions_) throw;
    System::Log::error("Media::RenderTarget::DrawScope::~DrawScope", "%s", error.what());
  }
}

void RenderTarget::stroke(const Brush& brush, float strokeWidth, const StrokeStyle* strokeStyle,
                          const char* place) {
  cairo_t* context = target->context();
  brush.setSource(context);
  if (strokeStyle) {
    strokeStyle->apply(context, strokeWidth);
  } else {
    cairo_set_line_width(context, strokeWidth);
    cairo_set_line_cap(context, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(context, CAIRO_LINE_JOIN_MITER);
    cairo_set_dash(context, nullptr, 0, 0.0);
  }
  cairo_stroke(context);
  checkStatus(context, "cairo_stroke", place);
}

void RenderTarget::drawRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom,
                                 const Brush& brush, int32_t strokeWidth,
                                 const StrokeStyle* strokeStyle) {
  cairo_t* context = target->context();
  const double x0 = left + 0.5 + originX, y0 = top + 0.5 + originY;
  const double x1 = right - 0.5 + originX, y1 = bottom - 0.5 + originY;
  cairo_new_path(context);
  cairo_rectangle(context, x0, y0, x1 - x0, y1 - y0);
  stroke(brush, static_cast<float>(strokeWidth), strokeStyle, "Media::RenderTarget::drawRectangle");
}

void RenderTarget::drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const Brush& brush,
                            int32_t strokeWidth, const StrokeStyle* strokeStyle) {
  cairo_t* context = target->context();
  cairo_new_path(context);
  cairo_move_to(context, x1 + 0.5 + originX, y1 + 0.5 + originY);
  cairo_line_to(context, x2 + 0.5 + originX, y2 + 0.5 + originY);
  stroke(brush, static_cast<float>(strokeWidth), strokeStyle, "Media::RenderTarget::drawLine");
}

void RenderTarget::fillRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom,
                                 const Brush& brush) {
  cairo_t* context = target->context();
  cairo_new_path(context);
  cairo_rectangle(context, left + originX, top + originY, right - left, bottom - top);
  brush.setSource(context);
  cairo_fill(context);
  checkStatus(context, "cairo_fill", "Media::RenderTarget::fillRectangle");
}

void RenderTarget::fillGradientRectangle(int32_t left, int32_t top, int32_t right,
                                         int32_t bottom, LinearGradientBrush& brush) {
  const float x0 = static_cast<float>(left + originX), x1 = static_cast<float>(right + originX);
  const float middle = (static_cast<float>(top + originY) + static_cast<float>(bottom + originY)) / 2;
  brush.setStartPoint({x0, middle});
  brush.setEndPoint({x1, middle});
  fillRectangle(left, top, right, bottom, brush);
}

void RenderTarget::drawBitmap(const Bitmap& bitmap, int32_t left, int32_t top, int32_t right,
                              int32_t bottom, float opacity) {
  if (!bitmap.surface() || right <= left || bottom <= top) return;
  cairo_t* context = target->context();
  cairo_save(context);
  cairo_new_path(context);
  cairo_rectangle(context, left + originX, top + originY, right - left, bottom - top);
  cairo_clip(context);
  cairo_translate(context, left + originX, top + originY);
  cairo_scale(context, static_cast<double>(right - left) / bitmap.width(),
              static_cast<double>(bottom - top) / bitmap.height());
  cairo_set_source_surface(context, bitmap.surface(), 0, 0);
  cairo_pattern_set_filter(cairo_get_source(context), CAIRO_FILTER_BILINEAR);
  cairo_pattern_set_extend(cairo_get_source(context), CAIRO_EXTEND_PAD);
  cairo_paint_with_alpha(context, opacity);
  cairo_restore(context);
  checkStatus(context, "cairo_paint_with_alpha", "Media::RenderTarget::drawBitmap");
}

void RenderTarget::drawPath(const Point2F* points, int32_t count, const Brush& brush,
                            float strokeWidth, const StrokeStyle* strokeStyle) {
  if (!points || count <= 0) return;
  cairo_t* context = target->context();
  cairo_new_path(context);
  cairo_move_to(context, points[0].x + originX, points[0].y + originY);
  for (int32_t i = 1; i < count; ++i)
    cairo_line_to(context, points[i].x + originX, points[i].y + originY);
  cairo_close_path(context);
  stroke(brush, strokeWidth, strokeStyle, "Media::RenderTarget::drawPath");
}

void RenderTarget::drawSegment(Point2F from, Point2F to, const Brush& brush, float strokeWidth,
                               const StrokeStyle* strokeStyle) {
  cairo_t* context = target->context();
  cairo_new_path(context);
  cairo_move_to(context, from.x + originX, from.y + originY);
  cairo_line_to(context, to.x + originX, to.y + originY);
  stroke(brush, strokeWidth, strokeStyle, "Media::RenderTarget::drawSegment");
}

void RenderTarget::drawCircle(Point2F center, float radius, const Brush& brush,
                              float strokeWidth, const StrokeStyle* strokeStyle) {
  cairo_t* context = target->context();
  cairo_new_path(context);
  cairo_arc(context, center.x + originX, center.y + originY, radius, 0.0, 2.0 * std::numbers::pi);
  cairo_close_path(context);
  stroke(brush, strokeWidth, strokeStyle, "Media::RenderTarget::drawCircle");
}

void RenderTarget::fillCircle(Point2F center, float radius, const Brush& brush) {
  cairo_t* context = target->context();
  cairo_new_path(context);
  cairo_arc(context, center.x + originX, center.y + originY, radius, 0.0, 2.0 * std::numbers::pi);
  brush.setSource(context);
  cairo_fill(context);
  checkStatus(context, "cairo_fill", "Media::RenderTarget::fillCircle");
}

void RenderTarget::fillPath(const Point2F* points, const Brush& brush) {
  if (!points) return;
  cairo_t* context = target->context();
  cairo_new_path(context);
  cairo_move_to(context, points[0].x + originX, points[0].y + originY);
  cairo_line_to(context, points[1].x + originX, points[1].y + originY);
  cairo_line_to(context, points[2].x + originX, points[2].y + originY);
  cairo_close_path(context);
  brush.setSource(context);
  cairo_fill(context);
  checkStatus(context, "cairo_fill", "Media::RenderTarget::fillPath");
}

}  // namespace Media
