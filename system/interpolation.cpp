#include "system/interpolation.h"

#include <cmath>

namespace System {
namespace {

// Clamps to 0..1; NaN has no place on the curve and takes `fallback`.
double clampUnit(double value, double fallback) {
  if (std::isnan(value)) return fallback;
  if (value < 0.0) return 0.0;
  if (value > 1.0) return 1.0;
  return value;
}

constexpr int kMaxNewtonSteps = 64;

}  // namespace

double solveBezierParameter(double x0, double x1, double x2, double x3, double x,
                            double epsilon) {
  const double width = x3 - x0;
  // Written so that a NaN width takes the same way out as an empty span.
  if (!(width > 0.0)) return 0.5;

  // On the unit interval the curve runs from (0, 0) to (1, 1). With both inner abscissas in
  // 0..1 the abscissa never decreases there, so a target in 0..1 always has a solution in
  // 0..1 and Newton's method from t = u settles on it.
  const double u = clampUnit((x - x0) / width, 0.0);
  const double p1 = clampUnit((x1 - x0) / width, 0.0);
  const double p2 = clampUnit((x2 - x0) / width, 1.0);

  double t = u;
  for (int step = 0; step < kMaxNewtonSteps; ++step) {
    const double s = 1.0 - t;
    const double error = 3.0 * p1 * t * s * s + 3.0 * p2 * t * t * s + t * t * t - u;
    if (std::fabs(error) < epsilon) return t;
    const double slope = p1 * (9.0 * t * t - 12.0 * t + 3.0) + p2 * (6.0 * t - 9.0 * t * t) +
                         3.0 * t * t;
    if (slope == 0.0) return t;
    t -= error / slope;
  }
  return t;
}

void splineInterpolate3D(double s, const Point3D& p0, const Point3D& p1, const Point3D& p2,
                         const Point3D& p3, Point3D& result) {
  const auto distance = [](const Point3D& a, const Point3D& b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double dz = b.z - a.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
  };
  const double r = distance(p0, p1);
  const double u = distance(p1, p2);
  const double w = distance(p2, p3);
  // Also the way out for a NaN chord: nothing sensible lies between such points.
  if (!(u > 0.0)) {
    result = p1;
    return;
  }

  const double q = 1.0 - s;
  const double k0 = q * q * q;
  const double k1 = 3.0 * q * q * s;
  const double k2 = 3.0 * q * s * s;
  const double k3 = s * s * s;
  const auto coordinate = [&](double a0, double a1, double a2, double a3) {
    const double c1 = a1 + (r * (a2 - a1) + u * (a1 - a0)) / (2.0 * (u + r));
    const double c2 = a2 - (u * (a3 - a2) + w * (a2 - a1)) / (2.0 * (w + u));
    return k0 * a1 + k1 * c1 + k2 * c2 + k3 * a2;
  };
  // Computed into locals first: result may be one of the input points.
  const double x = coordinate(p0.x, p1.x, p2.x, p3.x);
  const double y = coordinate(p0.y, p1.y, p2.y, p3.y);
  const double z = coordinate(p0.z, p1.z, p2.z, p3.z);
  result = {x, y, z};
}

double smoothControlValue(double a, double b, double c) {
  const double d = (b - c) * (b - c) + (a - b) * (a - b);
  const double e = (c - a) * (c - a) + d;
  // Below 1 the values are too close to bend; a NaN or infinite spread cannot bend them.
  if (!(e >= 1.0) || !std::isfinite(e)) return b;
  return b + 0.5 * d * (c - a) / e;
}

}  // namespace System
