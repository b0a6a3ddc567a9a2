#include "gpu/draw2d/resource_surface.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>

#include "gpu/gl/gl_texture.h"
#include "gpu/gl/picture_overlay.h"
#include "gpu/hresult.h"
#include "system/exception.h"
#include "system/log.h"

namespace Media {
namespace {

int32_t codeOf(cairo_status_t status) {
  if (status == CAIRO_STATUS_SUCCESS) return 0;
  return status == CAIRO_STATUS_NO_MEMORY ? Hresult::kOutOfMemory : Hresult::kFail;
}

}  // namespace

RenderTargetDirect3D ResourceBuffer::getSurface(ResourceBuffer& buffer) {
  constexpr const char* kPlace = "Media::ResourceBuffer::getSurface";
  if (buffer.empty())
    throw System::makeHresultException("buffer.As", kPlace,
                                       static_cast<int32_t>(0x80004002));  // no such interface
  // Drawing on an image that cannot be a render target would go nowhere: the caller would
  // get an untouched image and no word of it.
  if ((buffer.texture()->bindFlags() & BindFlag::RENDER_TARGET) == 0)
    throw System::makeHresultException("CreateBitmapFromDxgiSurface", kPlace,
                                       Hresult::kInvalidArgument);
  return RenderTargetDirect3D(buffer, true);
}

RenderTargetDirect3D::RenderTargetDirect3D(ResourceBuffer& buffer, bool drawable)
    : buffer_(&buffer), drawable_(drawable), width_(buffer.width()), height_(buffer.height()) {
  bitmap_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width_),
                                       static_cast<int>(height_));
  if (const cairo_status_t status = cairo_surface_status(bitmap_);
      status != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(bitmap_);
    bitmap_ = nullptr;
    throw System::makeHresultException("cairo_image_surface_create",
                                       "Media::ResourceBuffer::getSurface", codeOf(status));
  }
}

RenderTargetDirect3D::RenderTargetDirect3D(RenderTargetDirect3D&& other) noexcept
    : buffer_(other.buffer_),
      drawable_(other.drawable_),
      width_(other.width_),
      height_(other.height_),
      bitmap_(std::exchange(other.bitmap_, nullptr)),
      context_(std::exchange(other.context_, nullptr)),
      drawnLeft_(other.drawnLeft_),
      drawnTop_(other.drawnTop_),
      drawnRight_(other.drawnRight_),
      drawnBottom_(other.drawnBottom_) {}

RenderTargetDirect3D::~RenderTargetDirect3D() {
  if (context_) cairo_destroy(context_);
  if (bitmap_) cairo_surface_destroy(bitmap_);
}

void RenderTargetDirect3D::setTarget() {
  if (!bitmap_ || context_) return;
  context_ = cairo_create(bitmap_);
  cairo_set_antialias(context_, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_set_font_options(context_, options);
  cairo_font_options_destroy(options);
}

void RenderTargetDirect3D::beginDraw() {
  if (context_) cairo_save(context_);
}

int32_t RenderTargetDirect3D::endDraw() {
  if (!context_) return 0;
  cairo_restore(context_);
  cairo_surface_flush(bitmap_);
  return codeOf(cairo_status(context_));
}

void RenderTargetDirect3D::clearTarget() {
  if (!context_) return;
  cairo_destroy(context_);
  context_ = nullptr;
  upload();
}

cairo_t* RenderTargetDirect3D::context() {
  addDrawnArea(0, 0, width_, height_);
  return context_;
}

cairo_t* RenderTargetDirect3D::context(double left, double top, double right, double bottom) {
  addDrawnArea(left, top, right, bottom);
  return context_;
}

void RenderTargetDirect3D::addDrawnArea(double left, double top, double right, double bottom) {
  // Antialiased edges reach into the pixels around the exact bounds.
  const auto clampX = [&](double x) {
    return static_cast<int32_t>(std::clamp(x, 0.0, static_cast<double>(width_)));
  };
  const auto clampY = [&](double y) {
    return static_cast<int32_t>(std::clamp(y, 0.0, static_cast<double>(height_)));
  };
  if (!(right > left && bottom > top)) return;
  const int32_t x0 = clampX(std::floor(left) - 1), y0 = clampY(std::floor(top) - 1);
  const int32_t x1 = clampX(std::ceil(right) + 1), y1 = clampY(std::ceil(bottom) + 1);
  if (x0 >= x1 || y0 >= y1) return;
  if (drawnLeft_ >= drawnRight_) {
    drawnLeft_ = x0, drawnTop_ = y0, drawnRight_ = x1, drawnBottom_ = y1;
    return;
  }
  drawnLeft_ = std::min(drawnLeft_, x0);
  drawnTop_ = std::min(drawnTop_, y0);
  drawnRight_ = std::max(drawnRight_, x1);
  drawnBottom_ = std::max(drawnBottom_, y1);
}

void RenderTargetDirect3D::drawGeometry(const PathGeometry& geometry, const Brush* fillBrush,
                                        float dx, float dy, const Brush* strokeBrush,
                                        float strokeWidth, const StrokeStyle* strokeStyle) {
  constexpr const char* kPlace = "Media::RenderTargetDirect3D::drawGeometry";
  if (!context_ || geometry.empty()) return;
  cairo_new_path(context_);
  geometry.append(context_, dx, dy);
  double x0, y0, x1, y1;
  if (strokeBrush && strokeWidth > 0.0f) {
    strokeBrush->setSource(context_);
    if (strokeStyle) {
      strokeStyle->apply(context_, strokeWidth);
    } else {
      cairo_set_line_width(context_, strokeWidth);
      cairo_set_dash(context_, nullptr, 0, 0.0);
    }
    cairo_stroke_extents(context_, &x0, &y0, &x1, &y1);
    addDrawnArea(x0, y0, x1, y1);
    cairo_stroke_preserve(context_);
    if (const int32_t code = codeOf(cairo_status(context_)); code != 0)
      throw System::makeHresultException("cairo_stroke", kPlace, code);
  }
  if (fillBrush) {
    fillBrush->setSource(context_);
    cairo_fill_extents(context_, &x0, &y0, &x1, &y1);
    addDrawnArea(x0, y0, x1, y1);
    cairo_fill_preserve(context_);
    if (const int32_t code = codeOf(cairo_status(context_)); code != 0)
      throw System::makeHresultException("cairo_fill", kPlace, code);
  }
  cairo_new_path(context_);
}

// Lays the drawn-on part of the picture over the GPU image.
void RenderTargetDirect3D::upload() {
  if (!drawable_ || !bitmap_ || drawnLeft_ >= drawnRight_) return;
  cairo_surface_flush(bitmap_);
  const auto x = static_cast<uint32_t>(drawnLeft_), y = static_cast<uint32_t>(drawnTop_);
  const auto width = static_cast<uint32_t>(drawnRight_ - drawnLeft_);
  const auto height = static_cast<uint32_t>(drawnBottom_ - drawnTop_);
  drawnLeft_ = drawnRight_ = 0;
  const auto stride = static_cast<uint64_t>(cairo_image_surface_get_stride(bitmap_));
  const uint8_t* pixels = cairo_image_surface_get_data(bitmap_) + y * stride + uint64_t{x} * 4;

  overlayPicture(*buffer_, x, y, width, height, pixels, stride);
}

ResourceBuffer::Surface::Surface(ResourceBuffer& buffer)
    : target_(getSurface(buffer)), lock_(Direct2DService::Get().multithread()) {
  target_.setTarget();
  target_.beginDraw();
}

ResourceBuffer::Surface::~Surface() {
  if (!open_) return;
  try {
    endDraw();
  } catch (const std::exception& error) {
    System::Log::error("Media::ResourceBuffer::Surface::endDraw", "%s", error.what());
  }
}

void ResourceBuffer::Surface::endDraw() {
  if (!open_) return;
  open_ = false;
  struct Release {
    std::unique_lock<std::recursive_mutex>& lock;
    ~Release() { lock.unlock(); }
  } release{lock_};
  // A drawing that failed part-way leaves a picture that is not what was asked for: it is
  // not laid over the image, and the caller hears of it.
  if (const int32_t code = target_.endDraw(); code != 0)
    throw System::makeHresultException("target->EndDraw", "Media::ResourceBuffer::Surface::endDraw",
                                       code);
  target_.clearTarget();
}

}  // namespace Media
