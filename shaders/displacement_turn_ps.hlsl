// The displacement map turning the picture about the map's centre: each corner of the pixel
// turns by the angle of the map value read at that corner, and the pixel takes the mean of
// the picture over the bounding box of the turned corners.
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
  // The corners in the order of the map's values.
  const float2 corners[4] = {float2(0, 0), float2(1, 0), float2(0, 1), float2(1, 1)};
  float2 low = float2(1e30, 1e30);
  float2 high = float2(-1e30, -1e30);
  for (int i = 0; i < 4; ++i) {
    const float2 turned = turn(p + corners[i], values[i].x * len.x);
    low = min(low, turned);
    high = max(high, turned);
  }
  const float2 shift = -p - 0.5;
  return areaSample(position.xy + (low + high) * 0.5 + shift, high - low);
}
