#pragma once
// The camera control's arithmetic that needs no device: the focal distance from the field
// of view, the rays through the picture's corners for the lighting pass, the ground grid's
// lines and the screen-space strip of one guide line (cut at the near plane).
#include <array>
#include <optional>
#include <vector>

#include "edit/camera_view.h"
#include "system/xmath.h"

namespace Effect::CameraGeometry {

// The focal distance in pixels for a vertical field of view in degrees on a frame `height`
// pixels high: 1024 for a field of 0 or less (the default view), else half the height over
// the tangent of half the field.
float focalDistance(float fieldOfViewDegrees, float height);

// The camera's image-plane corners in view space, (-W/2, -H/2, d), (W/2, -H/2, d),
// (W/2, H/2, d), (-W/2, H/2, d), mapped to the world by the inverse of `view`.
std::array<XMath::Vector, 4> imagePlaneCorners(const XMath::Matrix& view, float focalDistance,
                                               float width, float height);

// The unit rays from each image-plane corner (same order) towards the eye, in world space.
std::array<XMath::Vector, 4> cornerRays(const Edit::CameraView& camera, float width, float height);

// One guide segment in the world.
struct Segment {
  XMath::Vector from;
  XMath::Vector to;
};

// The ground grid of half extent `range` with lines every `step`: for x = -range, -range +
// step, ... up to and including range, a line along z at x and a line along x at z = x.
// A step of 0 or less, a range that is negative or not finite, or a grid of more than
// kMaxGridLines lines each way gives no lines: the settings are the user's, and a grid that
// dense is one grey surface that would cost millions of vertices.
inline constexpr int kMaxGridLines = 10001;
std::vector<Segment> gridLines(float range, float step);

// A vertex of a guide line's strip: the projected position and the coordinate across
// (v) and along (u) the line; the third coordinate is always 1.
struct GuideVertex {
  float x, y, z;
  float u, v, w;
  float unused;  // keeps the 28-byte layout of the textured vertex lists
};
static_assert(sizeof(GuideVertex) == 28);

// The four vertices (a triangle strip) of the line from p0 to p1 through `matrix` (world to
// clip with w the view depth and z the constant near-plane value, see
// CameraControl::makeProjection), `halfWidth` pixels to each side on a frame of half size
// halfW x halfH. Nothing when both ends lie behind the near plane; an end behind it is
// moved onto it. Nothing either for a line that projects onto a single point.
std::optional<std::array<GuideVertex, 4>> guideLineStrip(const XMath::Vector& p0,
                                                         const XMath::Vector& p1,
                                                         const XMath::Matrix& matrix, float halfW,
                                                         float halfH, float halfWidth);

}  // namespace Effect::CameraGeometry
