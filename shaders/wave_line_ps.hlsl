// The waveform: a line through the samples, one sample per column of cells, rows counted
// from the top. The rows between the levels of neighbouring samples are filled; the rows
// towards the samples beyond them fade linearly.
#include "wave_cells.hlsli"

// trunc(rows x (sample x vol + 0.5)): silence lies on the middle row.
float levelAt(int i) {
  return trunc(float(res.y) * (valueAt(i) * vol + 0.5));
}

// n / d where the caller uses it; d is 0 only when n is too, and that ratio (0 / 0) is
// undefined: it is flagged instead of divided, as GPUs treat NaN loosely.
float ratio(float n, float d, inout bool undefined) {
  if (d == 0.0) {
    undefined = true;
    return 0.0;
  }
  return n / d;
}

float4 main(float4 position : SV_Position) : SV_Target {
  const float u = columnOf(position.xy);
  const float v = float(res.y) * position.y / float(size.y);
  if (inGap(u, pad.x) || inGap(v, pad.y)) return float4(0, 0, 0, 0);
  const int c = int(trunc(u));
  const float r = trunc(v);
  const float l0 = levelAt(c - 1);
  const float l1 = levelAt(c);
  const float l2 = levelAt(c + 1);
  const float l3 = levelAt(c + 2);
  if ((r >= l1 && l2 + 1.0 >= r) || (r >= l2 && l1 + 1.0 >= r)) return color;

  const bool p1 = l1 + 1.0 >= r && r >= l0;
  const bool p2 = l2 + 1.0 >= r && r >= l3;
  const bool q1 = l0 + 1.0 >= r && r >= l1;
  const bool q2 = l3 + 1.0 >= r && r >= l2;
  float x = 0.0;
  bool undefined = false;
  if (q1) {
    bool g1Undefined = false;
    x = ratio(r - l0 - 1.0, l1 - l0 - 1.0, g1Undefined);
    undefined = g1Undefined;
  }
  if (p1) {
    bool f1Undefined = false;
    x = ratio(r - l0, l1 + 1.0 - l0, f1Undefined);
    undefined = f1Undefined;
  }
  if (p2) x = ratio(r - l3, l2 + 1.0 - l3, undefined) + x;
  if (q2) x = ratio(r - l3 - 1.0, l2 - l3 - 1.0, undefined) + x;
  // An undefined ratio darkens the pixel, as a NaN does when it is clamped.
  const float a = undefined ? 0.0 : clamp(x, 0.0, 1.0);
  return color * a;
}
