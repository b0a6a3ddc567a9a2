#pragma once
// 4 x 4 matrices and 4-float vectors for placing things in 3-D space.
//
// Conventions, the same everywhere in the program:
// - Points and directions are row vectors multiplied on the left: p' = p · M. A point is
//   (x, y, z, 1), a direction (x, y, z, 0); the translation sits in the fourth row.
// - multiply(A, B) = A · B applies A first, then B. A world-then-view transform is
//   multiply(world, view).
// - Space is left-handed: x to the right, y up, z away from the viewer. A positive angle
//   turns +x towards +y about z, +y towards +z about x and +z towards +x about y.
// - Angles are radians; toRadians converts degrees with the single-precision factor
//   pi / 180 (0.01745329238474369f).
// - Matrices are stored by rows (m[row][column]), 64 bytes, 16-byte aligned; they can be
//   copied as they are into a constant buffer (transpose first when a shader reads
//   columns).
// Everything is single precision, as the GPU takes it, and nothing here throws.
#include <cmath>
#include <numbers>

namespace XMath {

struct alignas(16) Vector {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  float w = 0.0f;
  bool operator==(const Vector&) const = default;
};

struct alignas(16) Matrix {
  float m[4][4] = {};
  Vector row(int i) const { return {m[i][0], m[i][1], m[i][2], m[i][3]}; }
  void setRow(int i, const Vector& v) {
    m[i][0] = v.x;
    m[i][1] = v.y;
    m[i][2] = v.z;
    m[i][3] = v.w;
  }
  bool operator==(const Matrix&) const = default;
};

inline constexpr float kPi = std::numbers::pi_v<float>;

inline constexpr float toRadians(float degrees) { return degrees * (kPi / 180.0f); }

// ---- vectors (the 3-component operations ignore w) ----

inline Vector add3(const Vector& a, const Vector& b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z, 0.0f};
}
inline Vector subtract3(const Vector& a, const Vector& b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z, 0.0f};
}
inline Vector scale3(const Vector& a, float k) { return {a.x * k, a.y * k, a.z * k, 0.0f}; }
inline float dot3(const Vector& a, const Vector& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vector cross3(const Vector& a, const Vector& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x, 0.0f};
}
inline float length3(const Vector& a) { return std::sqrt(dot3(a, a)); }
// A vector of length 0 stays the zero vector rather than becoming NaN.
inline Vector normalize3(const Vector& a) {
  const float length = length3(a);
  if (!(length > 0.0f)) return {0.0f, 0.0f, 0.0f, 0.0f};
  return scale3(a, 1.0f / length);
}

// ---- elementary matrices ----

inline Matrix identity() {
  Matrix r;
  r.m[0][0] = r.m[1][1] = r.m[2][2] = r.m[3][3] = 1.0f;
  return r;
}

inline Matrix translation(float x, float y, float z) {
  Matrix r = identity();
  r.m[3][0] = x;
  r.m[3][1] = y;
  r.m[3][2] = z;
  return r;
}

inline Matrix scaling(float x, float y, float z) {
  Matrix r;
  r.m[0][0] = x;
  r.m[1][1] = y;
  r.m[2][2] = z;
  r.m[3][3] = 1.0f;
  return r;
}

// Rows (1, 0, 0, 0), (0, c, s, 0), (0, -s, c, 0), (0, 0, 0, 1): +y turns towards +z.
inline Matrix rotationX(float angle) {
  const float s = std::sin(angle);
  const float c = std::cos(angle);
  Matrix r = identity();
  r.m[1][1] = c;
  r.m[1][2] = s;
  r.m[2][1] = -s;
  r.m[2][2] = c;
  return r;
}

// Rows (c, 0, -s, 0), (0, 1, 0, 0), (s, 0, c, 0), (0, 0, 0, 1): +z turns towards +x.
inline Matrix rotationY(float angle) {
  const float s = std::sin(angle);
  const float c = std::cos(angle);
  Matrix r = identity();
  r.m[0][0] = c;
  r.m[0][2] = -s;
  r.m[2][0] = s;
  r.m[2][2] = c;
  return r;
}

// Rows (c, s, 0, 0), (-s, c, 0, 0), (0, 0, 1, 0), (0, 0, 0, 1): +x turns towards +y.
inline Matrix rotationZ(float angle) {
  const float s = std::sin(angle);
  const float c = std::cos(angle);
  Matrix r = identity();
  r.m[0][0] = c;
  r.m[0][1] = s;
  r.m[1][0] = -s;
  r.m[1][1] = c;
  return r;
}

// ---- products and derived matrices ----

// a · b: a is applied first.
inline Matrix multiply(const Matrix& a, const Matrix& b) {
  Matrix r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] +
                  a.m[i][3] * b.m[3][j];
  return r;
}

inline Matrix transpose(const Matrix& a) {
  Matrix r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) r.m[i][j] = a.m[j][i];
  return r;
}

// Roll about z first, then pitch about x, then yaw about y:
// rotationZ(roll) · rotationX(pitch) · rotationY(yaw).
inline Matrix rotationRollPitchYaw(float pitch, float yaw, float roll) {
  return multiply(multiply(rotationZ(roll), rotationX(pitch)), rotationY(yaw));
}

// Left-handed view matrix for an eye at `eye` looking along `direction` (need not be unit
// length) with `up` roughly upwards. The view's axes are z = normalize(direction),
// x = normalize(up × z), y = z × x; they form the columns of the rotation, and the fourth
// row is (-x·eye, -y·eye, -z·eye, 1). A zero direction, or an up parallel to it, gives a
// degenerate (singular) matrix without NaN.
inline Matrix lookToLH(const Vector& eye, const Vector& direction, const Vector& up) {
  const Vector zAxis = normalize3(direction);
  const Vector xAxis = normalize3(cross3(up, zAxis));
  const Vector yAxis = cross3(zAxis, xAxis);
  Matrix r;
  r.m[0][0] = xAxis.x;
  r.m[0][1] = yAxis.x;
  r.m[0][2] = zAxis.x;
  r.m[1][0] = xAxis.y;
  r.m[1][1] = yAxis.y;
  r.m[1][2] = zAxis.y;
  r.m[2][0] = xAxis.z;
  r.m[2][1] = yAxis.z;
  r.m[2][2] = zAxis.z;
  r.m[3][0] = -dot3(xAxis, eye);
  r.m[3][1] = -dot3(yAxis, eye);
  r.m[3][2] = -dot3(zAxis, eye);
  r.m[3][3] = 1.0f;
  return r;
}

// Left-handed perspective projection: `fovY` is the full vertical field of view, `aspect`
// width / height. View depth nearZ maps to 0 and farZ to 1 after the division by w (= view
// depth). Rows (w, 0, 0, 0), (0, h, 0, 0), (0, 0, f, 1), (0, 0, -f·nearZ, 0) with
// h = cot(fovY / 2), w = h / aspect, f = farZ / (farZ - nearZ). fovY must lie inside
// 0..pi, aspect be non-zero and nearZ differ from farZ.
inline Matrix perspectiveFovLH(float fovY, float aspect, float nearZ, float farZ) {
  const float h = std::cos(0.5f * fovY) / std::sin(0.5f * fovY);
  const float range = farZ / (farZ - nearZ);
  Matrix r;
  r.m[0][0] = h / aspect;
  r.m[1][1] = h;
  r.m[2][2] = range;
  r.m[2][3] = 1.0f;
  r.m[3][2] = -range * nearZ;
  return r;
}

// The determinant, computed in double precision.
double determinant(const Matrix& a);

// The inverse, computed in double precision. A singular matrix (determinant 0), or one
// whose inverse does not fit in floats, has none: the identity comes back then, so that a
// caller that does not check gets a harmless transform instead of infinities and NaN. `det`
// receives the determinant when given.
Matrix inverse(const Matrix& a, double* det = nullptr);

// ---- transforming vectors ----

// (x, y, z, w) · M.
inline Vector transform4(const Vector& v, const Matrix& a) {
  Vector r;
  r.x = v.x * a.m[0][0] + v.y * a.m[1][0] + v.z * a.m[2][0] + v.w * a.m[3][0];
  r.y = v.x * a.m[0][1] + v.y * a.m[1][1] + v.z * a.m[2][1] + v.w * a.m[3][1];
  r.z = v.x * a.m[0][2] + v.y * a.m[1][2] + v.z * a.m[2][2] + v.w * a.m[3][2];
  r.w = v.x * a.m[0][3] + v.y * a.m[1][3] + v.z * a.m[2][3] + v.w * a.m[3][3];
  return r;
}

// The point (x, y, z, 1) · M, w kept (not divided); v.w is ignored.
inline Vector transform3(const Vector& v, const Matrix& a) {
  return transform4({v.x, v.y, v.z, 1.0f}, a);
}

// The point (x, y, z, 1) · M divided by its w, so w comes back 1. A point that lands at
// w = 0 (on the eye plane of a projection) has no projected position: its x, y, z come
// back undivided with w 0, for the caller to tell.
inline Vector transformCoord(const Vector& v, const Matrix& a) {
  const Vector r = transform3(v, a);
  if (r.w == 0.0f) return r;
  return {r.x / r.w, r.y / r.w, r.z / r.w, 1.0f};
}

// The direction (x, y, z, 0) · M: rotation and scale only, no translation.
inline Vector transformNormal(const Vector& v, const Matrix& a) {
  const Vector r = transform4({v.x, v.y, v.z, 0.0f}, a);
  return {r.x, r.y, r.z, 0.0f};
}

}  // namespace XMath

namespace System {

// The matrix product and view matrix under the names the rest of the program uses.
inline XMath::Matrix multiplyMatrix(const XMath::Matrix& a, const XMath::Matrix& b) {
  return XMath::multiply(a, b);
}
inline XMath::Matrix makeLookAtMatrix(const XMath::Vector& eye, const XMath::Vector& direction,
                                      const XMath::Vector& up) {
  return XMath::lookToLH(eye, direction, up);
}

}  // namespace System
