#pragma once
// The numeric routines that shape motion: the easing-curve solver of the time control, a
// three-dimensional spline through four points, and the smoothing of a value between its
// neighbours. Everything is computed in 64-bit floats.
namespace System {

struct Point3D {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  bool operator==(const Point3D&) const = default;
};

// The parameter t at which the abscissa of the cubic Bezier curve with the control
// abscissas x0 (start), x1, x2 and x3 (end) equals x. x, x1 and x2 are normalised over
// x0..x3 and clamped to 0..1 (a NaN target counts as the start; a NaN inner control point
// counts as lying on the end it belongs to, x1 on x0 and x2 on x3, i.e. as no handle); an
// empty or invalid span (x3 <= x0, NaN) gives 0.5. Newton's method from the normalised x
// stops when |X(t) - x| < epsilon or the slope is exactly 0, and after 64 steps at the
// latest; t is not clamped afterwards. Callers pass epsilon 1e-6.
double solveBezierParameter(double x0, double x1, double x2, double x3, double x,
                            double epsilon);

// The point at s on the segment from p1 to p2 of a spline through p0, p1, p2 and p3: a cubic
// Bezier curve whose inner control points follow the neighbours, weighted by the chord
// lengths. s = 0 gives p1 and s = 1 gives p2; s is not clamped. When p1 and p2 coincide the
// result is p1.
void splineInterpolate3D(double s, const Point3D& p0, const Point3D& p1, const Point3D& p2,
                         const Point3D& p3, Point3D& result);

// The Bezier control value next to b on a curve through a, b and c: b moved towards the
// slope from a to c. When the squared spread of the three values is below 1 (or cannot be
// computed: NaN, overflow), b comes back unchanged.
double smoothControlValue(double a, double b, double c);

}  // namespace System
