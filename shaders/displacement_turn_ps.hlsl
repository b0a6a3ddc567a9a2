// The displacement map turning the picture about the centre: each map value turns the
// pixel's corners by its own angle, and the pixel takes the mean of the picture over the
// bounding box of the turned corners.
#include "displacement_map.hlsli"

float2 turn(float2 p, float angle) {
  float s, c;
  sincos(angle, s, c);
  return float2(p.x * c - p.y * s, p.x * s + p.y * c);
}

float4 main(float4 position : SV_Position) : SV_Target {
  const float2 p = position.xy + offset;
  float2 values[4];
  readMap(p, values);
  float2 low = float2(1e30, 1e30);
  float2 high = float2(-1e30, -1e30);
  for (int i = 0; i < 4; ++i) {
    const float angle = values[i].x * len.x;
    const float2 a = turn(p, angle);
    const float2 b = turn(p + 1.0, angle);
    low = min(low, min(a, b));
    high = max(high, max(a, b));
  }
  const float2 shift = -p - 0.5;
  return areaSample(position.xy + (low + high) * 0.5 + shift, high - low);
}
