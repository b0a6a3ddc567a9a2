#include "system/interpolation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The abscissa of the normalised curve, to check a solution independently of the solver.
double curveX(double p1, double p2, double t) {
  const double s = 1.0 - t;
  return 3.0 * p1 * t * s * s + 3.0 * p2 * t * t * s + t * t * t;
}

struct BezierCase {
  const char* what;
  double x0, x1, x2, x3, x;
  double expected;
};

TEST(SolveBezierParameter, KnownCurves) {
  const BezierCase cases[] = {
      {"symmetric ease, middle", 0, 0, 1, 1, 0.5, 0.5},
      {"time control 0.25 x4, middle", 0, 0.25, 0.75, 1, 0.5, 0.5},
      {"time control 0.25 x4, start", 0, 0.25, 0.75, 1, 0.0, 0.0},
      {"straight line gives the normalised x", 10, 10 + 10.0 / 3.0, 10 + 20.0 / 3.0, 20, 13,
       0.3},
      {"x beyond the end clamps to 1", 0, 0.2, 0.4, 1, 5, 1.0},
      {"x before the start clamps to 0", 2, 2.5, 3, 4, -7, 0.0},
      {"empty span", 3, 3, 3, 3, 100, 0.5},
      {"reversed span", 5, 4, 3, 2, 4, 0.5},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(System::solveBezierParameter(c.x0, c.x1, c.x2, c.x3, c.x, 1e-6),
                     c.expected)
        << c.what;
}

TEST(SolveBezierParameter, CubicWithoutInnerHandlesIsTheCubeRoot) {
  // Both inner control points on the start: X(t) = t^3.
  EXPECT_NEAR(System::solveBezierParameter(0, 0, 0, 1, 0.125, 1e-6), 0.5, 2e-6);
  // Control points outside the span are clamped onto it (p1 = 0, p2 = 0 again).
  EXPECT_NEAR(System::solveBezierParameter(0, -3, -1, 1, 0.125, 1e-6), 0.5, 2e-6);
  // Over a shifted, wider span the same shape.
  EXPECT_NEAR(System::solveBezierParameter(100, 100, 100, 300, 125, 1e-6), 0.5, 2e-6);
}

// Every curve shape the editor can hand over (inner abscissas anywhere in the span) must be
// solved to the tolerance with t inside 0..1.
TEST(SolveBezierParameter, ConvergesForEveryShapeOnAGrid) {
  constexpr int kSteps = 20;
  for (int i = 0; i <= kSteps; ++i)
    for (int j = 0; j <= kSteps; ++j)
      for (int k = 0; k <= kSteps; ++k) {
        const double p1 = double(i) / kSteps;
        const double p2 = double(j) / kSteps;
        const double u = double(k) / kSteps;
        const double t = System::solveBezierParameter(0, p1, p2, 1, u, 1e-6);
        ASSERT_LT(std::fabs(curveX(p1, p2, t) - u), 1e-6) << p1 << " " << p2 << " " << u;
        ASSERT_GE(t, 0.0) << p1 << " " << p2 << " " << u;
        ASSERT_LE(t, 1.0) << p1 << " " << p2 << " " << u;
      }
}

TEST(SolveBezierParameter, InvalidNumbersGiveAFiniteParameter) {
  struct Case {
    const char* what;
    double x0, x1, x2, x3, x, epsilon;
    double expected;
  };
  const Case cases[] = {
      {"NaN target counts as the start", 0, 0.3, 0.6, 1, kNaN, 1e-6, 0.0},
      {"NaN start makes an invalid span", kNaN, 0.3, 0.6, 1, 0.5, 1e-6, 0.5},
      {"NaN end makes an invalid span", 0, 0.3, 0.6, kNaN, 0.5, 1e-6, 0.5},
      {"infinite target clamps to the end", 0, 0.3, 0.6, 1, kInf, 1e-6, 1.0},
      {"infinite negative target clamps to the start", 0, 0.3, 0.6, 1, -kInf, 1e-6, 0.0},
      {"infinitely wide span puts every finite x at the start", 0, 0.3, 0.6, kInf, 5, 1e-6,
       0.0},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(System::solveBezierParameter(c.x0, c.x1, c.x2, c.x3, c.x, c.epsilon),
                     c.expected)
        << c.what;

  // A NaN inner point is taken as lying on its end point, i.e. as no handle.
  EXPECT_DOUBLE_EQ(System::solveBezierParameter(0, kNaN, 0.6, 1, 0.3, 1e-6),
                   System::solveBezierParameter(0, 0, 0.6, 1, 0.3, 1e-6));
  EXPECT_DOUBLE_EQ(System::solveBezierParameter(0, 0.2, kNaN, 1, 0.3, 1e-6),
                   System::solveBezierParameter(0, 0.2, 1, 1, 0.3, 1e-6));

  // A tolerance that can never be met still ends, after the last Newton step.
  for (double epsilon : {0.0, -1.0, kNaN}) {
    const double t = System::solveBezierParameter(0, 0.1, 0.9, 1, 0.3, epsilon);
    EXPECT_TRUE(std::isfinite(t)) << epsilon;
    EXPECT_NEAR(curveX(0.1, 0.9, t), 0.3, 1e-9) << epsilon;
  }
}

using System::Point3D;

TEST(SplineInterpolate3D, PassesThroughTheSegmentEnds) {
  const Point3D p0{-2, 5, 1}, p1{0, 1, 0}, p2{4, -3, 2}, p3{7, 7, 7};
  Point3D result;
  System::splineInterpolate3D(0.0, p0, p1, p2, p3, result);
  EXPECT_EQ(result, p1);
  System::splineInterpolate3D(1.0, p0, p1, p2, p3, result);
  EXPECT_EQ(result, p2);
}

TEST(SplineInterpolate3D, HandComputedPoints) {
  struct Case {
    const char* what;
    double s;
    Point3D p0, p1, p2, p3, expected;
  };
  const Case cases[] = {
      // Chords r = 4, u = 3, w = 4: C1 = (6/7, 6/7, 0), C2 = (15/7, 0, -6/7).
      {"bend through three axes, middle", 0.5, {0, -4, 0}, {0, 0, 0}, {3, 0, 0}, {3, 0, 4},
       {1.5, 2.25 / 7.0, -2.25 / 7.0}},
      // Evenly spaced on a line: C1 = C2 = 0.5, B(s) = 1.5 s - 1.5 s^2 + s^3.
      {"evenly spaced line, middle", 0.5, {-1, 0, 0}, {0, 0, 0}, {1, 0, 0}, {2, 0, 0},
       {0.5, 0, 0}},
      {"s is not clamped", 2.0, {-1, 0, 0}, {0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {5, 0, 0}},
      // P0 = P1: the first inner point is P1 itself; C2 = 3 - (9 + 9) / 12 = 1.5.
      {"first neighbour on the start", 0.5, {0, 0, 0}, {0, 0, 0}, {3, 0, 0}, {6, 0, 0},
       {0.9375, 0, 0}},
      {"segment of length 0 stays on P1", 0.7, {1, 1, 1}, {2, 3, 4}, {2, 3, 4}, {9, 9, 9},
       {2, 3, 4}},
  };
  for (const auto& c : cases) {
    Point3D result{kNaN, kNaN, kNaN};
    System::splineInterpolate3D(c.s, c.p0, c.p1, c.p2, c.p3, result);
    EXPECT_NEAR(result.x, c.expected.x, 1e-12) << c.what;
    EXPECT_NEAR(result.y, c.expected.y, 1e-12) << c.what;
    EXPECT_NEAR(result.z, c.expected.z, 1e-12) << c.what;
  }
}

TEST(SplineInterpolate3D, ResultMayBeOneOfTheInputs) {
  Point3D p0{-1, 0, 0}, p1{0, 0, 0}, p2{1, 0, 0}, p3{2, 0, 0};
  System::splineInterpolate3D(0.5, p0, p1, p2, p3, p1);
  EXPECT_DOUBLE_EQ(p1.x, 0.5);
  System::splineInterpolate3D(1.0, p0, p1, p2, p3, p2);
  EXPECT_DOUBLE_EQ(p2.x, 1.0);
}

TEST(SmoothControlValue, Cases) {
  struct Case {
    const char* what;
    double a, b, c, expected;
  };
  const Case cases[] = {
      {"values closer than 1 stay", 0, 0.5, 0.7, 0.5},
      // d = 200, e = 600: 10 + 0.5 * 200 * 20 / 600.
      {"rising run is pulled along the slope", 0, 10, 20, 10 + 10.0 / 3.0},
      {"falling run", 20, 10, 0, 10 - 10.0 / 3.0},
      {"a peak with equal sides stays", 10, 0, 10, 0},
      // d = 1, e = 2: 0 + 0.5 * 1 * 1 / 2.
      {"spread just above 1", 0, 0, 1, 0.25},
      {"NaN neighbour leaves the value", kNaN, 5, 7, 5},
      {"overflowing spread leaves the value", -1e200, 0, 1e200, 0},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(System::smoothControlValue(c.a, c.b, c.c), c.expected) << c.what;
}

}  // namespace
