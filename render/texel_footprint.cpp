#include "render/texel_footprint.h"

#include <cmath>
#include <initializer_list>
#include <optional>

namespace Render {
namespace {

// The flat shader samples a grid once the footprint reaches 1.05 texels; one texel and a
// little rounding stays well below that.
constexpr double kMaxFootprint = 1.001;
// The depths of the corners may differ by this much (relative) and still count as equal:
// the footprint then varies by about twice as much over the quad.
constexpr double kDepthTolerance = 1e-4;
// How far (in pixels) a corner may lie from a pixel corner, and a side from the texture's
// length, for pixel centres to count as texel centres: a filtered sample then weighs a
// neighbour by at most about this much, a fraction of a level in 8 bits.
constexpr double kAlignTolerance = 1e-3;

struct ScreenPoint {
  double x = 0.0, y = 0.0, w = 0.0;
};

ScreenPoint project(const float m[16], double x, double y, int32_t width, int32_t height) {
  const double clipX = m[0] * x + m[1] * y + m[3];
  const double clipY = m[4] * x + m[5] * y + m[7];
  const double clipW = m[12] * x + m[13] * y + m[15];
  return {(clipX / clipW * 0.5 + 0.5) * width, (0.5 - clipY / clipW * 0.5) * height, clipW};
}

// The quad on the screen: the corner of texture coordinate (0, 0) and the steps from it to
// the corners (1, 0) and (0, 1). The fourth corner follows from them once the depth is the
// same everywhere.
struct FlatQuad {
  double x = 0.0, y = 0.0;
  double ax = 0.0, ay = 0.0, bx = 0.0, by = 0.0;
};

// Nothing for an empty texture or target, or for a quad whose corners do not share one depth
// in front of the eye.
std::optional<FlatQuad> flatQuadOnScreen(const float projection[16], float halfWidth,
                                         float halfHeight, uint32_t textureWidth,
                                         uint32_t textureHeight, int32_t targetWidth,
                                         int32_t targetHeight) {
  if (textureWidth == 0 || textureHeight == 0 || targetWidth <= 0 || targetHeight <= 0)
    return std::nullopt;
  const ScreenPoint origin = project(projection, -halfWidth, -halfHeight, targetWidth, targetHeight);
  const ScreenPoint alongU = project(projection, halfWidth, -halfHeight, targetWidth, targetHeight);
  const ScreenPoint alongV = project(projection, -halfWidth, halfHeight, targetWidth, targetHeight);
  const ScreenPoint across = project(projection, halfWidth, halfHeight, targetWidth, targetHeight);
  if (!(origin.w > 0.0)) return std::nullopt;
  const double tolerance = origin.w * kDepthTolerance;
  for (const ScreenPoint& corner : {alongU, alongV, across})
    if (!(std::abs(corner.w - origin.w) <= tolerance)) return std::nullopt;
  return FlatQuad{origin.x,          origin.y,          alongU.x - origin.x,
                  alongU.y - origin.y, alongV.x - origin.x, alongV.y - origin.y};
}

bool near(double value, double expected) { return std::abs(value - expected) <= kAlignTolerance; }

}  // namespace

bool mapsAtMostOneTexel(const float projection[16], float halfWidth, float halfHeight,
                        uint32_t textureWidth, uint32_t textureHeight, int32_t targetWidth,
                        int32_t targetHeight) {
  const auto quad = flatQuadOnScreen(projection, halfWidth, halfHeight, textureWidth,
                                     textureHeight, targetWidth, targetHeight);
  if (!quad) return false;
  // Screen = origin + u * a + v * b; the pixel's steps in (u, v) come from the inverse.
  const double determinant = quad->ax * quad->by - quad->ay * quad->bx;
  if (!std::isfinite(determinant) || determinant == 0.0) return false;
  const double duDx = quad->by / determinant, duDy = -quad->bx / determinant;
  const double dvDx = -quad->ay / determinant, dvDy = quad->ax / determinant;
  const double footprintU = (std::abs(duDx) + std::abs(duDy)) * textureWidth;
  const double footprintV = (std::abs(dvDx) + std::abs(dvDy)) * textureHeight;
  return footprintU <= kMaxFootprint && footprintV <= kMaxFootprint;
}

bool landsOnTexelCentres(const float projection[16], float halfWidth, float halfHeight,
                         uint32_t textureWidth, uint32_t textureHeight, int32_t targetWidth,
                         int32_t targetHeight) {
  const auto quad = flatQuadOnScreen(projection, halfWidth, halfHeight, textureWidth,
                                     textureHeight, targetWidth, targetHeight);
  if (!quad) return false;
  if (!near(std::abs(quad->ax), textureWidth) || !near(quad->ay, 0.0) || !near(quad->bx, 0.0) ||
      !near(std::abs(quad->by), textureHeight))
    return false;
  return near(quad->x, std::round(quad->x)) && near(quad->y, std::round(quad->y));
}

}  // namespace Render
