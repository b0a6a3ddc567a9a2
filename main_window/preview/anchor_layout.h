#pragma once
// Placing one handle in control pixels and telling whether a pixel lies on it.
#include "main_window/preview/anchor_item.h"

namespace Anchor {

// The shown picture in control pixels: view x = -1 ... +1 maps to left ... right, view
// y = +1 ... -1 to top ... bottom.
struct PictureRect {
  float left = 0.0f;
  float top = 0.0f;
  float right = 0.0f;
  float bottom = 0.0f;
};

// Pixels, centroid and (for a frame) radius of an item that is not pinned: a frame too thin
// to hit is widened to a box of at least 16 x 16 pixels along its longest edge, the corner
// handles of a small rectangle are kept 16 pixels apart, and an axis line is shortened to one
// clip unit (its drag scale is written to axisScale).
void layoutAnchor(PreviewAnchor& item, const PictureRect& picture);

// Whether the control pixel (x, y) lies on the laid-out item's hit area; types without one
// (markers, polylines, the camera handle) are never hit.
bool containsPixel(const PreviewAnchor& item, float x, float y);

}  // namespace Anchor
