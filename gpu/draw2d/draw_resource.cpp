#include "gpu/draw2d/draw_resource.h"

#include <pango/pangocairo.h>

#include <cstring>

#include "gpu/hresult.h"
#include "system/exception.h"

namespace Media {
namespace {

cairo_line_cap_t capOf(CapStyle cap) {
  switch (cap) {
    case CapStyle::Square: return CAIRO_LINE_CAP_SQUARE;
    case CapStyle::Round: return CAIRO_LINE_CAP_ROUND;
    // A triangle cap has no Cairo form; the square cap covers the same end.
    case CapStyle::Triangle: return CAIRO_LINE_CAP_SQUARE;
    default: return CAIRO_LINE_CAP_BUTT;
  }
}

cairo_line_join_t joinOf(LineJoin join) {
  switch (join) {
    case LineJoin::Bevel: return CAIRO_LINE_JOIN_BEVEL;
    case LineJoin::Round: return CAIRO_LINE_JOIN_ROUND;
    default: return CAIRO_LINE_JOIN_MITER;
  }
}

}  // namespace

void SolidColorBrush::setSource(cairo_t* context) const {
  cairo_set_source_rgba(context, color_.r, color_.g, color_.b, color_.a);
}

void LinearGradientBrush::setSource(cairo_t* context) const {
  cairo_pattern_t* pattern = cairo_pattern_create_linear(start_.x, start_.y, end_.x, end_.y);
  for (const GradientStop& stop : stops_)
    cairo_pattern_add_color_stop_rgba(pattern, stop.position, stop.color.r, stop.color.g,
                                      stop.color.b, stop.color.a);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
  cairo_set_source(context, pattern);
  cairo_pattern_destroy(pattern);
}

void StrokeStyle::apply(cairo_t* context, float strokeWidth) const {
  cairo_set_line_width(context, strokeWidth);
  cairo_set_line_cap(context, capOf(properties_.startCap));
  cairo_set_line_join(context, joinOf(properties_.lineJoin));
  cairo_set_miter_limit(context, properties_.miterLimit);
  if (dashes_.empty()) {
    cairo_set_dash(context, nullptr, 0, 0.0);
    return;
  }
  std::vector<double> lengths;
  for (float dash : dashes_) lengths.push_back(static_cast<double>(dash) * strokeWidth);
  cairo_set_dash(context, lengths.data(), static_cast<int>(lengths.size()),
                 static_cast<double>(properties_.dashOffset) * strokeWidth);
}

Bitmap::Bitmap(uint32_t width, uint32_t height, const void* pixels, uint32_t pitch) {
  constexpr const char* kPlace = "Media::Bitmap::Bitmap";
  if (width == 0 || height == 0 || width > 16384 || height > 16384 || !pixels || pitch < width * 4)
    throw System::makeHresultException("cairo_image_surface_create", kPlace, Hresult::kInvalidArgument);
  surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width),
                                        static_cast<int>(height));
  if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface_);
    surface_ = nullptr;
    throw System::makeHresultException("cairo_image_surface_create", kPlace, Hresult::kOutOfMemory);
  }
  cairo_surface_flush(surface_);
  unsigned char* target = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  for (uint32_t y = 0; y < height; ++y)
    std::memcpy(target + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride),
                static_cast<const uint8_t*>(pixels) + static_cast<std::size_t>(y) * pitch,
                static_cast<std::size_t>(width) * 4);
  cairo_surface_mark_dirty(surface_);
}

Bitmap::~Bitmap() {
  if (surface_) cairo_surface_destroy(surface_);
}

uint32_t Bitmap::width() const { return static_cast<uint32_t>(cairo_image_surface_get_width(surface_)); }
uint32_t Bitmap::height() const { return static_cast<uint32_t>(cairo_image_surface_get_height(surface_)); }

PathGeometry::PathGeometry(cairo_path_t* path) : path_(path) {}

PathGeometry::~PathGeometry() {
  if (path_) cairo_path_destroy(path_);
}

namespace {

// A context on a one-pixel surface, to build paths with.
struct ScratchContext {
  ScratchContext()
      : surface(cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1)), context(cairo_create(surface)) {}
  ~ScratchContext() {
    cairo_destroy(context);
    cairo_surface_destroy(surface);
  }
  cairo_surface_t* surface;
  cairo_t* context;
};

std::unique_ptr<PathGeometry> takePath(cairo_t* context, const char* call, const char* place) {
  cairo_path_t* path = cairo_copy_path(context);
  if (!path || path->status != CAIRO_STATUS_SUCCESS) {
    if (path) cairo_path_destroy(path);
    throw System::makeHresultException(call, place, Hresult::kOutOfMemory);
  }
  return std::make_unique<PathGeometry>(path);
}

}  // namespace

std::unique_ptr<PathGeometry> PathGeometry::createPolygon(const Point2F* points, std::size_t count) {
  ScratchContext scratch;
  if (count > 0) {
    cairo_move_to(scratch.context, points[0].x, points[0].y);
    for (std::size_t i = 1; i < count; ++i) cairo_line_to(scratch.context, points[i].x, points[i].y);
    cairo_close_path(scratch.context);
  }
  return takePath(scratch.context, "cairo_copy_path", "Media::PathGeometry::createPolygon");
}

std::unique_ptr<PathGeometry> PathGeometry::createFromLayout(PangoLayout* layout) {
  ScratchContext scratch;
  if (layout) pango_cairo_layout_path(scratch.context, layout);
  return takePath(scratch.context, "pango_cairo_layout_path", "Media::PathGeometry::createFromLayout");
}

void PathGeometry::append(cairo_t* context, double dx, double dy) const {
  if (empty()) return;
  cairo_save(context);
  cairo_translate(context, dx, dy);
  cairo_append_path(context, path_);
  cairo_restore(context);
}

}  // namespace Media
