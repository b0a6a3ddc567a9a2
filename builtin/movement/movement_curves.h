#pragma once
// The curves the movement kinds shape their values with.
namespace Effect {

// The cubic Bezier curve a(1-t)^3 + 3b·t(1-t)^2 + 3c·t^2(1-t) + d·t^3; t is not clamped,
// so the curve extrapolates outside 0..1.
inline double cubicBezier(double t, double a, double b, double c, double d) {
  const double s = 1.0 - t;
  return a * s * s * s + 3.0 * b * t * s * s + 3.0 * c * t * t * s + d * t * t * t;
}

// The straight line from a to b at progress t. Accelerating starts it at rest and
// decelerating ends it at rest: the curve's inner control point on that side sits on the
// end value instead of the middle of the two.
inline double easedLine(double t, double a, double b, bool accelerates, bool decelerates) {
  if (!accelerates && !decelerates) return a + (b - a) * t;
  const double middle = (a + b) / 2.0;
  return cubicBezier(t, a, accelerates ? a : middle, decelerates ? b : middle, b);
}

}  // namespace Effect
