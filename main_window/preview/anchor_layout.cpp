#include "main_window/preview/anchor_layout.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace Anchor {

namespace {

constexpr float kMinimumTarget = 16.0f;  // pixels a frame or a handle pair is kept apart
constexpr float kFrameClearance = 8.0f;  // how close the centre may come to a frame's edge

float distance(const ViewPoint& a, const ViewPoint& b) { return std::hypot(a.x - b.x, a.y - b.y); }

float squaredDistance(const ViewPoint& a, const ViewPoint& b) {
  const float dx = a.x - b.x;
  const float dy = a.y - b.y;
  return dx * dx + dy * dy;
}

// The distance of p from the straight line through a and b (from a when they coincide).
float distanceToLine(const ViewPoint& p, const ViewPoint& a, const ViewPoint& b) {
  const float length = distance(a, b);
  if (length == 0.0f) return distance(p, a);
  return std::fabs((b.x - a.x) * (a.y - p.y) - (a.x - p.x) * (b.y - a.y)) / length;
}

bool frameTooThin(const PreviewAnchor& item) {
  const auto& px = item.pixels;
  for (std::size_t i = 0; i < px.size(); ++i) {
    if (squaredDistance(px[i], item.centroid) < 1.0f) return true;
    if (distanceToLine(item.centroid, px[i], px[(i + 1) % px.size()]) < kFrameClearance)
      return true;
  }
  return false;
}

// Replaces the outline by a box of at least 16 x 16 pixels aligned with its longest edge.
void enlargeFrame(PreviewAnchor& item) {
  auto& px = item.pixels;
  const ViewPoint c = item.centroid;
  std::size_t longest = 0;
  float longestLength = -1.0f;
  for (std::size_t i = 0; i < px.size(); ++i) {
    const float length = distance(px[i], px[(i + 1) % px.size()]);
    if (length > longestLength) {
      longestLength = length;
      longest = i;
    }
  }
  const float half = kMinimumTarget / 2.0f;
  if (longestLength < 1.0f) {
    px = {{c.x - half, c.y - half}, {c.x + half, c.y - half}, {c.x + half, c.y + half},
          {c.x - half, c.y + half}};
    return;
  }
  const ViewPoint& a = px[longest];
  const ViewPoint& b = px[(longest + 1) % px.size()];
  const float ux = (b.x - a.x) / longestLength;  // along the longest edge
  const float uy = (b.y - a.y) / longestLength;
  float minU = INFINITY, maxU = -INFINITY, minV = INFINITY, maxV = -INFINITY;
  for (const ViewPoint& p : px) {
    const float u = (p.x - c.x) * ux + (p.y - c.y) * uy;
    const float v = -(p.x - c.x) * uy + (p.y - c.y) * ux;
    minU = std::min(minU, u);
    maxU = std::max(maxU, u);
    minV = std::min(minV, v);
    maxV = std::max(maxV, v);
  }
  const float growU = std::max(0.0f, kMinimumTarget - (maxU - minU)) / 2.0f;
  const float growV = std::max(0.0f, kMinimumTarget - (maxV - minV)) / 2.0f;
  minU -= growU;
  maxU += growU;
  minV -= growV;
  maxV += growV;
  const auto back = [&](float u, float v) {
    return ViewPoint{c.x + u * ux - v * uy, c.y + u * uy + v * ux};
  };
  px = {back(minU, minV), back(maxU, minV), back(maxU, maxV), back(minU, maxV)};
}

// Moves corner p away from neighbour q when they lie closer than 16 pixels.
ViewPoint pushApart(const ViewPoint& p, const ViewPoint& q) {
  const float d = distance(p, q);
  if (d >= kMinimumTarget || d == 0.0f) return {0.0f, 0.0f};
  const float step = (kMinimumTarget - d) / 2.0f / d;
  return {(p.x - q.x) * step, (p.y - q.y) * step};
}

// Non-zero winding number of the closed polygon around (x, y).
int windingNumber(const std::vector<ViewPoint>& polygon, float x, float y) {
  int winding = 0;
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const ViewPoint& a = polygon[i];
    const ViewPoint& b = polygon[(i + 1) % polygon.size()];
    const float side = (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y);
    if (a.y <= y) {
      if (b.y > y && side > 0.0f) ++winding;  // upward crossing, right of the point
    } else if (b.y <= y && side < 0.0f) {
      --winding;
    }
  }
  return winding;
}

bool withinRadius(const PreviewAnchor& item, float x, float y, float radius) {
  const ViewPoint& p = item.pixels.front();
  return squaredDistance(p, {x, y}) <= radius * radius;
}

}  // namespace

void layoutAnchor(PreviewAnchor& item, const PictureRect& picture) {
  const float cx = (picture.left + picture.right) / 2.0f;
  const float cy = (picture.top + picture.bottom) / 2.0f;
  const float hw = std::max(1.0f, picture.right - picture.left) / 2.0f;
  const float hh = std::max(1.0f, picture.bottom - picture.top) / 2.0f;
  item.pixels.clear();
  item.centroid = {};
  item.radius = 0.0f;
  for (const ViewPoint& p : item.points) {
    item.pixels.push_back({cx + p.x * hw, cy - p.y * hh});
    item.centroid.x += item.pixels.back().x;
    item.centroid.y += item.pixels.back().y;
  }
  if (item.pixels.empty()) return;
  item.centroid.x /= static_cast<float>(item.pixels.size());
  item.centroid.y /= static_cast<float>(item.pixels.size());

  auto& px = item.pixels;
  switch (item.type) {
    case AnchorType::Frame:
      if (frameTooThin(item)) enlargeFrame(item);
      for (const ViewPoint& p : px) item.radius = std::max(item.radius, distance(p, item.centroid));
      break;
    case AnchorType::Square:
      if (px.size() >= 3) {
        const ViewPoint a = pushApart(px[0], px[1]);
        const ViewPoint b = pushApart(px[0], px[2]);
        px[0].x += a.x + b.x;
        px[0].y += a.y + b.y;
      }
      break;
    case AnchorType::Line:
      if (px.size() >= 3) {
        const ViewPoint a = px[0];
        const float unit = distance(px[2], a);
        px[1] = unit > 0.0f ? ViewPoint{a.x + (px[1].x - a.x) / unit, a.y + (px[1].y - a.y) / unit}
                            : a;
        // A line shrunk to its start gives no scale rather than an infinite one.
        const float length = distance(a, px[1]);
        item.axisScale = length > 0.0f ? 40.0f / length : 0.0f;
      }
      break;
    default:
      break;
  }
}

bool containsPixel(const PreviewAnchor& item, float x, float y) {
  if (item.pixels.empty()) return false;
  switch (item.type) {
    case AnchorType::Frame:
      return windingNumber(item.pixels, x, y) != 0;
    case AnchorType::LargeCircle:
      return withinRadius(item, x, y, 36.0f);
    case AnchorType::MediumCircle:
      return withinRadius(item, x, y, 20.0f);
    case AnchorType::SmallCircle:
      return withinRadius(item, x, y, 10.0f);
    case AnchorType::Icon:
      return item.pixels.size() >= 2 && item.pixels[0].x <= x && x <= item.pixels[1].x &&
             item.pixels[0].y <= y && y <= item.pixels[1].y;
    case AnchorType::Line:
      return item.pixels.size() >= 2 && squaredDistance(item.pixels[1], {x, y}) <= 25.0f;
    case AnchorType::Square:
      return std::fabs(x - item.pixels[0].x) <= 6.0f && std::fabs(y - item.pixels[0].y) <= 6.0f;
    default:
      return false;
  }
}

}  // namespace Anchor
