#include "system/xmath.h"

#include <cfloat>
#include <cmath>

namespace XMath {
namespace {

using Matrix4d = double[4][4];

void widen(const Matrix& a, Matrix4d& out) {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) out[i][j] = a.m[i][j];
}

// The cofactor expansion shared by the determinant and the inverse: the 2 x 2 minors of the
// top two rows (s) and of the bottom two rows (c).
struct Minors {
  double s[6];
  double c[6];
};

Minors minorsOf(const Matrix4d& a) {
  Minors k;
  k.s[0] = a[0][0] * a[1][1] - a[1][0] * a[0][1];
  k.s[1] = a[0][0] * a[1][2] - a[1][0] * a[0][2];
  k.s[2] = a[0][0] * a[1][3] - a[1][0] * a[0][3];
  k.s[3] = a[0][1] * a[1][2] - a[1][1] * a[0][2];
  k.s[4] = a[0][1] * a[1][3] - a[1][1] * a[0][3];
  k.s[5] = a[0][2] * a[1][3] - a[1][2] * a[0][3];
  k.c[5] = a[2][2] * a[3][3] - a[3][2] * a[2][3];
  k.c[4] = a[2][1] * a[3][3] - a[3][1] * a[2][3];
  k.c[3] = a[2][1] * a[3][2] - a[3][1] * a[2][2];
  k.c[2] = a[2][0] * a[3][3] - a[3][0] * a[2][3];
  k.c[1] = a[2][0] * a[3][2] - a[3][0] * a[2][2];
  k.c[0] = a[2][0] * a[3][1] - a[3][0] * a[2][1];
  return k;
}

double determinantOf(const Minors& k) {
  return k.s[0] * k.c[5] - k.s[1] * k.c[4] + k.s[2] * k.c[3] + k.s[3] * k.c[2] -
         k.s[4] * k.c[1] + k.s[5] * k.c[0];
}

}  // namespace

double determinant(const Matrix& a) {
  Matrix4d d;
  widen(a, d);
  return determinantOf(minorsOf(d));
}

Matrix inverse(const Matrix& a, double* det) {
  Matrix4d d;
  widen(a, d);
  const Minors k = minorsOf(d);
  const double value = determinantOf(k);
  if (det) *det = value;
  if (value == 0.0 || !std::isfinite(value)) return identity();
  const double reciprocal = 1.0 / value;

  const double* s = k.s;
  const double* c = k.c;
  double r[4][4];
  r[0][0] = d[1][1] * c[5] - d[1][2] * c[4] + d[1][3] * c[3];
  r[0][1] = -d[0][1] * c[5] + d[0][2] * c[4] - d[0][3] * c[3];
  r[0][2] = d[3][1] * s[5] - d[3][2] * s[4] + d[3][3] * s[3];
  r[0][3] = -d[2][1] * s[5] + d[2][2] * s[4] - d[2][3] * s[3];
  r[1][0] = -d[1][0] * c[5] + d[1][2] * c[2] - d[1][3] * c[1];
  r[1][1] = d[0][0] * c[5] - d[0][2] * c[2] + d[0][3] * c[1];
  r[1][2] = -d[3][0] * s[5] + d[3][2] * s[2] - d[3][3] * s[1];
  r[1][3] = d[2][0] * s[5] - d[2][2] * s[2] + d[2][3] * s[1];
  r[2][0] = d[1][0] * c[4] - d[1][1] * c[2] + d[1][3] * c[0];
  r[2][1] = -d[0][0] * c[4] + d[0][1] * c[2] - d[0][3] * c[0];
  r[2][2] = d[3][0] * s[4] - d[3][1] * s[2] + d[3][3] * s[0];
  r[2][3] = -d[2][0] * s[4] + d[2][1] * s[2] - d[2][3] * s[0];
  r[3][0] = -d[1][0] * c[3] + d[1][1] * c[1] - d[1][2] * c[0];
  r[3][1] = d[0][0] * c[3] - d[0][1] * c[1] + d[0][2] * c[0];
  r[3][2] = -d[3][0] * s[3] + d[3][1] * s[1] - d[3][2] * s[0];
  r[3][3] = d[2][0] * s[3] - d[2][1] * s[1] + d[2][2] * s[0];

  // The result is stored in floats: an inverse beyond float range is as useless as none.
  Matrix out;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      const double element = r[i][j] * reciprocal;
      if (!(std::fabs(element) <= FLT_MAX)) return identity();
      out.m[i][j] = static_cast<float>(element);
    }
  return out;
}

}  // namespace XMath
