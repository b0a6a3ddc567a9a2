#include "render/texel_footprint.h"

#include <cmath>
#include <initializer_list>

namespace Render {
namespace {

// The flat shader samples a grid once the footprint reaches 1.05 texels; one texel and a
// little rounding stays well below that.
constexpr double kMaxFootprint = 1.001;
// The depths of the corners may differ by this much (relative) and still count as equal:
// the footprint then varies by about twice as much over the quad.
constexpr double kDepthTolerance = 1e-4;

struct ScreenPoint {
  double x = 0.0, y = 0.0, w = 0.0;
};

ScreenPoint project(const float m[16], double x, double y, int32_t width, int32_t height) {
  const double clipX = m[0] * x + m[1] * y + m[3];
  const double clipY = m[4] * x + m[5] * y + m[7];
  const double clipW = m[12] * x + m[13] * y + m[15];
  return {(clipX / clipW * 0.5 + 0.5) * width, (0.5 - clipY / clipW * 0.5) * height, clipW};
}

}  // namespace

bool mapsAtMostOneTexel(const float projection[16], float halfWidth, float halfHeight,
                        uint32_t textureWidth, uint32_t textureHeight, int32_t targetWidth,
                        int32_t targetHeight) {
  if (textureWidth == 0 || textureHeight == 0 || targetWidth <= 0 || targetHeight <= 0)
    return false;
  // Texture coordinates (0, 0), (1, 0) and (0, 1) sit at these corners; the fourth follows
  // from them once the depth is the same everywhere.
  const ScreenPoint origin = project(projection, -halfWidth, -halfHeight, targetWidth, targetHeight);
  const ScreenPoint alongU = project(projection, halfWidth, -halfHeight, targetWidth, targetHeight);
  const ScreenPoint alongV = project(projection, -halfWidth, halfHeight, targetWidth, targetHeight);
  const ScreenPoint across = project(projection, halfWidth, halfHeight, targetWidth, targetHeight);
  if (!(origin.w > 0.0)) return false;
  const double tolerance = origin.w * kDepthTolerance;
  for (const ScreenPoint& corner : {alongU, alongV, across})
    if (!(std::abs(corner.w - origin.w) <= tolerance)) return false;

  // Screen = origin + u * a + v * b; the pixel's steps in (u, v) come from the inverse.
  const double ax = alongU.x - origin.x, ay = alongU.y - origin.y;
  const double bx = alongV.x - origin.x, by = alongV.y - origin.y;
  const double determinant = ax * by - ay * bx;
  if (!std::isfinite(determinant) || determinant == 0.0) return false;
  const double duDx = by / determinant, duDy = -bx / determinant;
  const double dvDx = -ay / determinant, dvDy = ax / determinant;
  const double footprintU = (std::abs(duDx) + std::abs(duDy)) * textureWidth;
  const double footprintV = (std::abs(dvDx) + std::abs(dvDy)) * textureHeight;
  return footprintU <= kMaxFootprint && footprintV <= kMaxFootprint;
}

}  // namespace Render
