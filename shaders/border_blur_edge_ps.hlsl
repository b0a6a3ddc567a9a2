// The picture faded towards its border: per axis t = (distance from the nearer edge) / range
// and f = 1 - S(t) with S(t) = t^2 (3 - 2t); the texel is scaled by max(1 - |(fx, fy)|, 0).
// An axis whose range is 0 does not fade.
#include "texel_fetch.hlsli"

Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  int2 range;    // the fading width per axis
  float divive;  // read by the body's other passes of the same constants
};

float fade(float position, float length, int width) {
  if (width <= 0) return 0.0;
  const float inside = min(position, length - position);
  return 1.0 - smoothstep(0.0, 1.0, inside / float(width));
}

float4 main(float4 position : SV_Position) : SV_Target {
  uint width, height;
  texture0.GetDimensions(width, height);
  const float2 f = float2(fade(position.x, float(width), range.x),
                          fade(position.y, float(height), range.y));
  return loadOrClear(texture0, int2(position.xy)) * max(1.0 - length(f), 0.0);
}
