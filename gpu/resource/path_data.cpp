#include "gpu/resource/path_data.h"

#include <cmath>
#include <initializer_list>
#include <utility>
#include <numbers>

#include "gpu/hresult.h"
#include "system/exception.h"

namespace Resource {
namespace {

constexpr double kPi = std::numbers::pi;

double radians(double degrees) { return degrees * kPi / 180.0; }

// The angle from u to v, signed.
double angleBetween(double ux, double uy, double vx, double vy) {
  return std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
}

struct SurfaceDeleter {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDeleter {
  void operator()(cairo_t* context) const { cairo_destroy(context); }
};

}  // namespace

void PathCommandMoveTo::addToSink(const PathSink& sink) const {
  cairo_new_sub_path(sink.context);
  cairo_move_to(sink.context, sink.mapX(x_), sink.mapY(y_));
}

void PathCommandLineTo::addToSink(const PathSink& sink) const {
  cairo_line_to(sink.context, sink.mapX(x_), sink.mapY(y_));
}

// The endpoint form of the arc turned into its centre, radii and angles, then drawn as an
// arc of the unit circle scaled and rotated onto the ellipse.
void PathCommandArcTo::addToSink(const PathSink& sink) const {
  cairo_t* context = sink.context;
  if (!cairo_has_current_point(context)) return;
  double x1, y1;
  cairo_get_current_point(context, &x1, &y1);
  const double x2 = sink.mapX(x_), y2 = sink.mapY(y_);
  double rx = std::fabs(radiusX_ * sink.scaleX), ry = std::fabs(radiusY_ * sink.scaleY);
  if (x1 == x2 && y1 == y2) return;
  if (rx == 0.0 || ry == 0.0 || !std::isfinite(rx) || !std::isfinite(ry)) {
    cairo_line_to(context, x2, y2);
    return;
  }
  const double phi = radians(rotation_);
  const double cosPhi = std::cos(phi), sinPhi = std::sin(phi);
  const double dx = (x1 - x2) / 2, dy = (y1 - y2) / 2;
  const double x1p = cosPhi * dx + sinPhi * dy;
  const double y1p = -sinPhi * dx + cosPhi * dy;
  // Radii too small to reach the end point grow until they just do.
  const double lambda = (x1p * x1p) / (rx * rx) + (y1p * y1p) / (ry * ry);
  if (lambda > 1.0) {
    rx *= std::sqrt(lambda);
    ry *= std::sqrt(lambda);
  }
  const double numerator = rx * rx * ry * ry - rx * rx * y1p * y1p - ry * ry * x1p * x1p;
  const double denominator = rx * rx * y1p * y1p + ry * ry * x1p * x1p;
  double coefficient = denominator > 0.0 ? std::sqrt(std::max(0.0, numerator / denominator)) : 0.0;
  if (largeArc_ == clockwise_) coefficient = -coefficient;
  const double cxp = coefficient * rx * y1p / ry;
  const double cyp = -coefficient * ry * x1p / rx;
  const double cx = cosPhi * cxp - sinPhi * cyp + (x1 + x2) / 2;
  const double cy = sinPhi * cxp + cosPhi * cyp + (y1 + y2) / 2;
  const double ux = (x1p - cxp) / rx, uy = (y1p - cyp) / ry;
  const double vx = (-x1p - cxp) / rx, vy = (-y1p - cyp) / ry;
  const double start = angleBetween(1.0, 0.0, ux, uy);
  double sweep = angleBetween(ux, uy, vx, vy);
  if (clockwise_ && sweep < 0) sweep += 2 * kPi;
  if (!clockwise_ && sweep > 0) sweep -= 2 * kPi;

  cairo_save(context);
  cairo_translate(context, cx, cy);
  cairo_rotate(context, phi);
  cairo_scale(context, rx, ry);
  if (clockwise_)
    cairo_arc(context, 0.0, 0.0, 1.0, start, start + sweep);
  else
    cairo_arc_negative(context, 0.0, 0.0, 1.0, start, start + sweep);
  cairo_restore(context);
}

void PathCommandBezier2To::addToSink(const PathSink& sink) const {
  cairo_t* context = sink.context;
  double x0 = 0.0, y0 = 0.0;
  if (cairo_has_current_point(context)) cairo_get_current_point(context, &x0, &y0);
  const double qx = sink.mapX(controlX_), qy = sink.mapY(controlY_);
  const double x = sink.mapX(x_), y = sink.mapY(y_);
  // The same curve as a cubic one: each control point two thirds of the way to the
  // quadratic control point.
  cairo_curve_to(context, x0 + 2.0 / 3.0 * (qx - x0), y0 + 2.0 / 3.0 * (qy - y0),
                 x + 2.0 / 3.0 * (qx - x), y + 2.0 / 3.0 * (qy - y), x, y);
}

void PathCommandClosePath::addToSink(const PathSink& sink) const { cairo_close_path(sink.context); }

std::unique_ptr<Media::PathGeometry> PathData::createPathGeometry(float x, float y, float width,
                                                                  float height) const {
  constexpr const char* kPlace = "Resource::PathData::createPathGeometry";
  // A path is built on a context of its own; the picture under it is never drawn on.
  const std::unique_ptr<cairo_surface_t, SurfaceDeleter> scratch(
      cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1));
  const std::unique_ptr<cairo_t, ContextDeleter> context(cairo_create(scratch.get()));
  if (cairo_status(context.get()) != CAIRO_STATUS_SUCCESS)
    throw System::makeHresultException("Direct2DService::Get().factory->CreatePathGeometry", kPlace,
                                       Media::Hresult::kOutOfMemory);
  PathSink sink{context.get(), 0.0, 0.0, width / static_cast<double>(boxWidth),
                height / static_cast<double>(boxHeight)};
  sink.offsetX = x - boxX * sink.scaleX;
  sink.offsetY = y - boxY * sink.scaleY;
  for (const auto& command : commands) command->addToSink(sink);
  cairo_path_t* path = cairo_copy_path(context.get());
  if (!path || path->status != CAIRO_STATUS_SUCCESS) {
    cairo_path_destroy(path);
    throw System::makeHresultException("slink->Close", kPlace, Media::Hresult::kFail);
  }
  return std::make_unique<Media::PathGeometry>(path);
}

namespace {

// The point at `degrees` clockwise from the top of the unit circle.
void pointOnCircle(double degrees, double radius, float& x, float& y) {
  x = static_cast<float>(radius * std::sin(radians(degrees)));
  y = static_cast<float>(-radius * std::cos(radians(degrees)));
}

template <class Command, class... Args>
void add(PathData& path, Args... args) {
  path.commands.push_back(std::make_unique<Command>(args...));
}

void box(PathData& path, float x, float y, float width, float height, double ratio) {
  path.boxX = x, path.boxY = y, path.boxWidth = width, path.boxHeight = height;
  path.inscribedRatio = static_cast<float>(ratio);
}

// A closed figure through the corners, in order.
void corners(PathData& path, std::initializer_list<std::pair<float, float>> points) {
  bool first = true;
  for (const auto& [x, y] : points) {
    if (first)
      add<PathCommandMoveTo>(path, x, y);
    else
      add<PathCommandLineTo>(path, x, y);
    first = false;
  }
  add<PathCommandClosePath>(path);
}

// A regular polygon of the unit circle starting at the top.
void polygon(PathData& path, int corners) {
  box(path, -1, -1, 2, 2, std::sin(radians(90.0 - 180.0 / corners)));
  add<PathCommandMoveTo>(path, 0.0f, -1.0f);
  for (int i = 1; i < corners; ++i) {
    float x, y;
    pointOnCircle(360.0 * i / corners, 1.0, x, y);
    add<PathCommandLineTo>(path, x, y);
  }
  add<PathCommandClosePath>(path);
}

}  // namespace

void buildBuiltinPaths(BuiltinPaths& paths) {
  PathData& circle = paths[kCircle];
  box(circle, 0, 0, 1, 1, 1.0);
  add<PathCommandMoveTo>(circle, 1.0f, 0.5f);
  add<PathCommandArcTo>(circle, 0.0f, 0.5f, 0.5f, 0.5f, 0.0f, true);
  add<PathCommandArcTo>(circle, 1.0f, 0.5f, 0.5f, 0.5f, 0.0f, true);
  add<PathCommandClosePath>(circle);

  PathData& square = paths[kSquare];
  box(square, 0, 0, 1, 1, 1.0);
  corners(square, {{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}});

  // The inscribed circle of a regular n-gon over its circumscribed one is cos(180 / n),
  // which is sin 30, sin 54 and sin 60 for three, five and six corners.
  polygon(paths[kTriangle], 3);
  polygon(paths[kPentagon], 5);
  polygon(paths[kHexagon], 6);

  PathData& star = paths[kStar];
  box(star, -1, -1, 2, 2, std::sin(radians(18.0)));
  const double inner = std::cos(radians(72.0)) / std::cos(radians(36.0));
  for (int a = 0; a < 360; a += 72) {
    float x, y;
    if (a == 0) {
      add<PathCommandMoveTo>(star, 0.0f, -1.0f);
    } else {
      pointOnCircle(a, 1.0, x, y);
      add<PathCommandLineTo>(star, x, y);
    }
    pointOnCircle(a + 36.0, inner, x, y);
    add<PathCommandLineTo>(star, x, y);
  }
  add<PathCommandClosePath>(star);

  PathData& heart = paths[kHeart];
  box(heart, 0.09f, 0.09f, 0.82f, 0.82f, 0.6666);
  add<PathCommandMoveTo>(heart, 0.1f, 0.35f);
  add<PathCommandArcTo>(heart, 0.5f, 0.3f, 0.2f, 0.2f, 0.0f, false);
  add<PathCommandArcTo>(heart, 0.9f, 0.35f, 0.2f, 0.2f, 0.0f, false);
  add<PathCommandBezier2To>(heart, 0.5f, 0.9f, 0.9f, 0.5f);
  add<PathCommandBezier2To>(heart, 0.1f, 0.35f, 0.1f, 0.5f);
  add<PathCommandClosePath>(heart);

  PathData& diamond = paths[kDiamond];
  box(diamond, 0, 0, 1, 1, 1.0);
  corners(diamond, {{0.5f, 0.0f}, {1.0f, 0.5f}, {0.5f, 1.0f}, {0.0f, 0.5f}});
}

}  // namespace Resource
