#include "system/xmath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

namespace XMath {
// Readable failure messages.
void PrintTo(const Vector& v, std::ostream* out) {
  *out << "(" << v.x << ", " << v.y << ", " << v.z << ", " << v.w << ")";
}
void PrintTo(const Matrix& a, std::ostream* out) {
  for (int i = 0; i < 4; ++i) PrintTo(a.row(i), out);
}
}  // namespace XMath

namespace {

using XMath::Matrix;
using XMath::Vector;

static_assert(sizeof(Matrix) == 64 && alignof(Matrix) == 16);
static_assert(sizeof(Vector) == 16 && alignof(Vector) == 16);

Matrix fromRows(const float (&rows)[4][4]) {
  Matrix r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) r.m[i][j] = rows[i][j];
  return r;
}

// Rows 1..4, 5..8, 9..12, 13..16: every element differs, so a transposition shows.
Matrix numbered() {
  return fromRows({{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}});
}

void expectMatrixNear(const Matrix& actual, const Matrix& expected, float tolerance) {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      EXPECT_NEAR(actual.m[i][j], expected.m[i][j], tolerance) << "[" << i << "][" << j << "]";
}

void expectVectorNear(const Vector& actual, const Vector& expected, float tolerance) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
  EXPECT_NEAR(actual.w, expected.w, tolerance);
}

TEST(XMath, MultiplyIsTheRowByColumnProduct) {
  // B = identity plus a 1 at [0][1]: A · B adds column 0 of A to its column 1, whereas
  // B · A would add row 1 of A to its row 0.
  Matrix b = XMath::identity();
  b.m[0][1] = 1;
  EXPECT_EQ(XMath::multiply(numbered(), b),
            fromRows({{1, 3, 3, 4}, {5, 11, 7, 8}, {9, 19, 11, 12}, {13, 27, 15, 16}}));
  EXPECT_EQ(XMath::multiply(b, numbered()),
            fromRows({{6, 8, 10, 12}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}}));
}

TEST(XMath, LeftMatrixIsAppliedFirst) {
  const Matrix move = XMath::translation(1, 0, 0);
  const Matrix grow = XMath::scaling(2, 2, 2);
  const Vector origin{0, 0, 0, 1};
  EXPECT_EQ(XMath::transform4(origin, XMath::multiply(move, grow)), (Vector{2, 0, 0, 1}));
  EXPECT_EQ(XMath::transform4(origin, XMath::multiply(grow, move)), (Vector{1, 0, 0, 1}));
}

TEST(XMath, TransposeSwapsRowsAndColumns) {
  EXPECT_EQ(XMath::transpose(numbered()),
            fromRows({{1, 5, 9, 13}, {2, 6, 10, 14}, {3, 7, 11, 15}, {4, 8, 12, 16}}));
}

TEST(XMath, RotationsTurnTheAxesLeftHanded) {
  const float quarter = XMath::kPi / 2;
  struct Case {
    const char* what;
    Matrix rotation;
    Vector from, to;
  };
  const Case cases[] = {
      {"about z: x to y", XMath::rotationZ(quarter), {1, 0, 0, 1}, {0, 1, 0, 1}},
      {"about x: y to z", XMath::rotationX(quarter), {0, 1, 0, 1}, {0, 0, 1, 1}},
      {"about y: z to x", XMath::rotationY(quarter), {0, 0, 1, 1}, {1, 0, 0, 1}},
      // Roll about z first, then pitch about x, then yaw about y: x -> y -> z -> x.
      {"roll, pitch, yaw in that order", XMath::rotationRollPitchYaw(quarter, quarter, quarter),
       {1, 0, 0, 1}, {1, 0, 0, 1}},
      {"pitch before yaw", XMath::rotationRollPitchYaw(quarter, quarter, 0), {0, 1, 0, 1},
       {1, 0, 0, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    expectVectorNear(XMath::transform4(c.from, c.rotation), c.to, 1e-6f);
  }
  EXPECT_FLOAT_EQ(XMath::toRadians(180), XMath::kPi);
  EXPECT_EQ(XMath::toRadians(1), 0.01745329238474369f);
}

TEST(XMath, LookToAlongZIsATranslation) {
  const Matrix view = XMath::lookToLH({0, 0, -10, 1}, {0, 0, 1, 0}, {0, 1, 0, 0});
  EXPECT_EQ(view, XMath::translation(0, 0, 10));
}

TEST(XMath, LookToAlongX) {
  // Looking along +x with y up: the view's x axis is world -z, its z axis world +x.
  const Vector eye{1, 2, 3, 1};
  const Matrix expected = fromRows({{0, 0, 1, 0}, {0, 1, 0, 0}, {-1, 0, 0, 0}, {3, -2, -1, 1}});
  EXPECT_EQ(XMath::lookToLH(eye, {1, 0, 0, 0}, {0, 1, 0, 0}), expected);
  // Neither the direction nor the up vector needs to be of unit length.
  EXPECT_EQ(XMath::lookToLH(eye, {5, 0, 0, 0}, {0, 3, 0, 0}), expected);
  EXPECT_EQ(System::makeLookAtMatrix(eye, {1, 0, 0, 0}, {0, 1, 0, 0}), expected);

  EXPECT_EQ(XMath::transformCoord({1, 2, 3, 1}, expected), (Vector{0, 0, 0, 1}));  // the eye
  EXPECT_EQ(XMath::transformCoord({6, 2, 3, 1}, expected), (Vector{0, 0, 5, 1}));  // ahead
  EXPECT_EQ(XMath::transformCoord({1, 2, 4, 1}, expected), (Vector{-1, 0, 0, 1}));  // left
}

TEST(XMath, DegenerateLookToHasNoNaN) {
  const Matrix cases[] = {
      XMath::lookToLH({1, 2, 3, 1}, {0, 0, 0, 0}, {0, 1, 0, 0}),  // no direction
      XMath::lookToLH({1, 2, 3, 1}, {0, 2, 0, 0}, {0, 1, 0, 0}),  // up along the direction
  };
  for (const Matrix& view : cases)
    for (const auto& row : view.m)
      for (float value : row) EXPECT_TRUE(std::isfinite(value));
}

TEST(XMath, PerspectiveMapsNearAndFarToDepthZeroAndOne) {
  // fovY 90 degrees: h = 1; aspect 2: w = 0.5; f = 11 / 10.
  const Matrix projection = XMath::perspectiveFovLH(XMath::kPi / 2, 2, 1, 11);
  expectMatrixNear(projection,
                   fromRows({{0.5f, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1.1f, 1}, {0, 0, -1.1f, 0}}),
                   1e-6f);
  expectVectorNear(XMath::transformCoord({0, 0, 1, 1}, projection), {0, 0, 0, 1}, 1e-6f);
  expectVectorNear(XMath::transformCoord({0, 0, 11, 1}, projection), {0, 0, 1, 1}, 1e-6f);
  expectVectorNear(XMath::transformCoord({2, 1, 2, 1}, projection), {0.5f, 0.5f, 0.55f, 1},
                   1e-6f);
}

TEST(XMath, TransformsOfPointsAndDirections) {
  const Matrix m = XMath::multiply(XMath::scaling(2, 3, 4), XMath::translation(10, 20, 30));
  EXPECT_EQ(XMath::transform3({1, 1, 1, 7}, m), (Vector{12, 23, 34, 1}));  // w of input ignored
  EXPECT_EQ(XMath::transformNormal({1, 1, 1, 7}, m), (Vector{2, 3, 4, 0}));
  EXPECT_EQ(XMath::transform4({1, 1, 1, 0}, m), (Vector{2, 3, 4, 0}));
  // On the eye plane of a projection there is nothing to divide by.
  const Matrix projection = XMath::perspectiveFovLH(XMath::kPi / 2, 1, 1, 11);
  const Vector onEyePlane = XMath::transformCoord({3, 4, 0, 1}, projection);
  EXPECT_EQ(onEyePlane.w, 0.0f);
  EXPECT_EQ(onEyePlane.x, 3.0f);
  EXPECT_EQ(onEyePlane.y, 4.0f);
}

TEST(XMath, InverseOfElementaryMatrices) {
  EXPECT_EQ(XMath::inverse(XMath::translation(1, 2, 3)), XMath::translation(-1, -2, -3));
  double det = 0;
  EXPECT_EQ(XMath::inverse(XMath::scaling(2, 4, 8), &det), XMath::scaling(0.5f, 0.25f, 0.125f));
  EXPECT_EQ(det, 64.0);
  expectMatrixNear(XMath::inverse(XMath::rotationY(0.7f)), XMath::rotationY(-0.7f), 1e-6f);
}

TEST(XMath, InverseTimesMatrixIsIdentity) {
  const Matrix world = XMath::multiply(
      XMath::multiply(XMath::scaling(2, 0.5f, 3), XMath::rotationRollPitchYaw(0.3f, -1.1f, 2.0f)),
      XMath::translation(-40, 12, 300));
  const Matrix view = XMath::lookToLH({100, -50, -800, 1}, {-0.1f, 0.05f, 1, 0}, {0, 1, 0, 0});
  const Matrix projection = XMath::perspectiveFovLH(0.8f, 16.0f / 9.0f, 10, 10000);
  for (const Matrix& m : {world, view, XMath::multiply(XMath::multiply(world, view), projection),
                          numbered()}) {
    double det = 0;
    const Matrix inv = XMath::inverse(m, &det);
    if (det == 0) {
      EXPECT_EQ(inv, XMath::identity());  // the numbered matrix is singular
      continue;
    }
    // Checked in double, against what storing the inverse in floats may cost: each term
    // carries a relative error of a few float epsilons, so the allowance scales with the
    // size of the terms (large for a projection with big translations).
    const auto productIsIdentity = [](const Matrix& a, const Matrix& b) {
      for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
          double sum = 0;
          double magnitude = 0;
          for (int k = 0; k < 4; ++k) {
            sum += double(a.m[i][k]) * double(b.m[k][j]);
            magnitude += std::fabs(double(a.m[i][k]) * double(b.m[k][j]));
          }
          EXPECT_NEAR(sum, i == j ? 1.0 : 0.0, 1e-6 * magnitude + 1e-9)
              << "[" << i << "][" << j << "]";
        }
    };
    productIsIdentity(inv, m);
    productIsIdentity(m, inv);
  }
}

TEST(XMath, SingularMatrixInvertsToIdentity) {
  double det = 1;
  EXPECT_EQ(XMath::inverse(XMath::scaling(1, 0, 1), &det), XMath::identity());
  EXPECT_EQ(det, 0.0);
  // Tiny, but the inverse still fits in floats.
  expectMatrixNear(XMath::inverse(XMath::scaling(1e-20f, 1e-20f, 1)),
                   XMath::scaling(1e20f, 1e20f, 1), 1e13f);
  // Invertible in principle, but the inverse does not fit in floats.
  EXPECT_EQ(XMath::inverse(XMath::scaling(1e-39f, 1, 1)), XMath::identity());
  EXPECT_DOUBLE_EQ(XMath::determinant(numbered()), 0.0);
  EXPECT_DOUBLE_EQ(XMath::determinant(XMath::scaling(2, 3, 4)), 24.0);
}

TEST(XMath, NormalizeKeepsZeroVector) {
  EXPECT_EQ(XMath::normalize3({0, 0, 0, 0}), (Vector{0, 0, 0, 0}));
  expectVectorNear(XMath::normalize3({3, 0, 4, 9}), {0.6f, 0, 0.8f, 0}, 1e-7f);
  EXPECT_EQ(XMath::cross3({1, 0, 0, 0}, {0, 1, 0, 0}), (Vector{0, 0, 1, 0}));
}

}  // namespace
