#include "gpu/draw2d/window_temporary_image.h"

#include "gpu/draw2d/render_target.h"
#include "gpu/hresult.h"
#include "system/exception.h"

namespace Media {

void WindowTemporaryImage::pushImage(const int32_t* controlPosition, RenderTarget* renderTarget,
                                     int32_t stripX, int32_t, int32_t stripWidth,
                                     int32_t stripHeight) {
  constexpr const char* kPlace = "Media::WindowTemporaryImage::pushImage";
  if (!controlPosition || !renderTarget || !renderTarget->target || stripWidth <= 0 ||
      stripHeight <= 0 || stripWidth > 16384 || stripHeight > 16384)
    throw System::makeHresultException("render->target->CreateBitmap", kPlace,
                                       Hresult::kInvalidArgument);
  controlPosition_ = controlPosition;
  renderTarget_ = renderTarget;

  if (!saved_ || width != stripWidth || height != stripHeight) {
    saved_.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, stripWidth, stripHeight));
    if (cairo_surface_status(saved_.get()) != CAIRO_STATUS_SUCCESS) {
      saved_.reset();
      throw System::makeHresultException("render->target->CreateBitmap", kPlace, Hresult::kOutOfMemory);
    }
  }
  x = stripX;
  y = 0;
  width = stripWidth;
  height = stripHeight;

  // Copy the window's pixels of the strip, replacing whatever the bitmap held.
  cairo_surface_t* window = renderTarget->target->surface();
  cairo_surface_flush(window);
  cairo_t* copy = cairo_create(saved_.get());
  cairo_set_operator(copy, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(copy, window, -(controlPosition[0] + x), -(controlPosition[1] + y));
  cairo_paint(copy);
  const cairo_status_t status = cairo_status(copy);
  cairo_destroy(copy);
  if (status != CAIRO_STATUS_SUCCESS)
    throw System::makeHresultException("image->CopyFromRenderTarget", kPlace, Hresult::kOutOfMemory);
}

void WindowTemporaryImage::popImage() {
  if (!saved_ || !renderTarget_ || !controlPosition_) return;
  RenderTarget& root = renderTarget_->root ? *renderTarget_->root : *renderTarget_;
  root.beginDraw();
  try {
    cairo_t* context = root.target->context();
    const int32_t left = controlPosition_[0] + x;
    const int32_t top = controlPosition_[1] + y;
    cairo_save(context);
    cairo_identity_matrix(context);
    cairo_reset_clip(context);
    cairo_set_operator(context, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(context, saved_.get(), left, top);
    cairo_pattern_set_filter(cairo_get_source(context), CAIRO_FILTER_NEAREST);
    cairo_rectangle(context, left, top, width, height);
    cairo_fill(context);
    cairo_restore(context);
  } catch (...) {
    root.endDraw();
    throw;
  }
  root.endDraw();
}

}  // namespace Media
