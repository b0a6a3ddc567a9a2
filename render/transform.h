#pragma once
// The matrices that place objects in the frame: an object's world matrix from its position,
// rotation, scale and centre; the default perspective view, under which the plane z = 0
// maps one unit to one pixel; and the choice between that view and the matrices a
// governing camera or group control computed.
//
// Row vectors, multiplied on the left (system/xmath.h): the product A · B applies A first.
// A "view matrix" here maps to clip space (it includes the projection).
#include "effect/output_view.h"
#include "system/xmath.h"

namespace Render {

struct Transform {
  float positionX = 0.0f, positionY = 0.0f, positionZ = 0.0f;
  float rotationX = 0.0f, rotationY = 0.0f, rotationZ = 0.0f;  // degrees
  float scaleX = 1.0f, scaleY = 1.0f, scaleZ = 1.0f;
  float centerX = 0.0f, centerY = 0.0f, centerZ = 0.0f;

  static Transform of(const Effect::OutputView& view);

  // T(-centre) · S(scale) · Rz · Ry · Rx · T(position).
  XMath::Matrix getMatrix() const;
  // S(scale) · Rz · Ry · Rx: directions and handles.
  XMath::Matrix getAnchorMatrix() const;
};

// The eye at (x, y, -1024) of the view, looking along +z; the plane z = 0 maps one unit to
// one pixel with the frame's centre at the origin and y growing downwards on screen.
XMath::Matrix getDefaultView(const Effect::OutputView& view, unsigned width, unsigned height);
// The governing camera's view-projection, else the group's view, else the default view for
// the size of the view's target.
XMath::Matrix getViewMatrix(const Effect::OutputView& view);
// The view's world matrix, times the governing group's world matrix.
XMath::Matrix getObjectMatrix(const Effect::OutputView& view);
// The matrix anchors keep as their source: with a camera the camera's view-projection
// (after the group's world matrix), with a group alone its world and view, else the view
// moved so that the object's own plane maps one unit to one pixel.
XMath::Matrix getViewProjectionMatrix(const Effect::OutputView& view);
// getObjectMatrix · getViewMatrix.
XMath::Matrix getWorldViewMatrix(const Effect::OutputView& view);

}  // namespace Render
