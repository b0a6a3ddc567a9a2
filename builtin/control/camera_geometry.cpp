#include "builtin/control/camera_geometry.h"

#include <cmath>

#include "builtin/control/camera_control.h"

namespace Effect::CameraGeometry {

float focalDistance(float fieldOfViewDegrees, float height) {
  if (!(fieldOfViewDegrees > 0.0f)) return 1024.0f;
  return (height * 0.5f) / std::tan(fieldOfViewDegrees * 0.5f * XMath::kPi / 180.0f);
}

std::array<XMath::Vector, 4> imagePlaneCorners(const XMath::Matrix& view, float d, float width,
                                               float height) {
  const XMath::Matrix toWorld = XMath::inverse(view);
  const float w = width * 0.5f;
  const float h = height * 0.5f;
  const XMath::Vector corners[4] = {
      {-w, -h, d, 1.0f}, {w, -h, d, 1.0f}, {w, h, d, 1.0f}, {-w, h, d, 1.0f}};
  std::array<XMath::Vector, 4> world;
  for (int i = 0; i < 4; ++i)
    world[static_cast<std::size_t>(i)] = XMath::transform4(corners[i], toWorld);
  return world;
}

std::array<XMath::Vector, 4> cornerRays(const Edit::CameraView& camera, float width, float height) {
  const XMath::Matrix view = CameraControl::makeViewMatrix(camera);
  const XMath::Vector eye = XMath::transform4({0.0f, 0.0f, 0.0f, 1.0f}, XMath::inverse(view));
  std::array<XMath::Vector, 4> rays = imagePlaneCorners(view, camera.extra[5], width, height);
  for (XMath::Vector& ray : rays) ray = XMath::normalize3(XMath::subtract3(eye, ray));
  return rays;
}

std::vector<Segment> gridLines(float range, float step) {
  std::vector<Segment> lines;
  if (!(step > 0.0f) || !(range >= 0.0f) || !std::isfinite(range) || !std::isfinite(step))
    return lines;
  // Counted from the start rather than summed, so that rounding cannot lose the last line
  // or run the loop on.
  const double count = std::floor(2.0 * static_cast<double>(range) / step) + 1.0;
  if (count > kMaxGridLines) return lines;
  const int n = static_cast<int>(count);
  lines.reserve(static_cast<std::size_t>(n) * 2);
  for (int i = 0; i < n; ++i) {
    const float x = static_cast<float>(-static_cast<double>(range) + static_cast<double>(step) * i);
    lines.push_back({{x, 0.0f, -range, 1.0f}, {x, 0.0f, range, 1.0f}});
    lines.push_back({{-range, 0.0f, x, 1.0f}, {range, 0.0f, x, 1.0f}});
  }
  return lines;
}

namespace {

// How far a clip-space point lies in front of the near plane (positive in front): the view
// depth over the constant near value, minus one.
float nearDistance(const XMath::Vector& clip) {
  if (clip.z == 0.0f) return -1.0f;
  return clip.w / clip.z - 1.0f;
}

}  // namespace

std::optional<std::array<GuideVertex, 4>> guideLineStrip(const XMath::Vector& p0,
                                                         const XMath::Vector& p1,
                                                         const XMath::Matrix& matrix, float halfW,
                                                         float halfH, float halfWidth) {
  const XMath::Vector a{p0.x, p0.y, p0.z, 1.0f};
  const XMath::Vector b{p1.x, p1.y, p1.z, 1.0f};
  XMath::Vector c0 = XMath::transform4(a, matrix);
  XMath::Vector c1 = XMath::transform4(b, matrix);
  const float k0 = nearDistance(c0);
  const float k1 = nearDistance(c1);
  if (!(k0 > 0.0f) && !(k1 > 0.0f)) return std::nullopt;
  if (!(k0 > 0.0f) || !(k1 > 0.0f)) {
    // The end behind the near plane moves to where the line crosses it.
    const float t = k0 / (k0 - k1);
    const XMath::Vector cut{p0.x - t * (p0.x - p1.x), p0.y - t * (p0.y - p1.y),
                            p0.z - t * (p0.z - p1.z), 1.0f};
    (k0 > 0.0f ? c1 : c0) = XMath::transform4(cut, matrix);
  }
  if (c0.w == 0.0f || c1.w == 0.0f) return std::nullopt;
  const XMath::Vector q0{c0.x / c0.w, c0.y / c0.w, c0.z / c0.w, 1.0f};
  const XMath::Vector q1{c1.x / c1.w, c1.y / c1.w, c1.z / c1.w, 1.0f};
  float dx = (q1.x - q0.x) * halfW;
  float dy = (q1.y - q0.y) * halfH;
  const float length = std::sqrt(dx * dx + dy * dy);
  if (!(length > 0.0f) || !std::isfinite(length)) return std::nullopt;
  dx /= length;
  dy /= length;
  const float ox = -dy / halfW * halfWidth;
  const float oy = dx / halfH * halfWidth;
  return std::array<GuideVertex, 4>{{{q0.x - ox, q0.y - oy, q0.z, 0.0f, 0.0f, 1.0f, 0.0f},
                                     {q0.x + ox, q0.y + oy, q0.z, 0.0f, 1.0f, 1.0f, 0.0f},
                                     {q1.x - ox, q1.y - oy, q1.z, 1.0f, 0.0f, 1.0f, 0.0f},
                                     {q1.x + ox, q1.y + oy, q1.z, 1.0f, 1.0f, 1.0f, 0.0f}}};
}

}  // namespace Effect::CameraGeometry
