// "グラデーション": col0 turning into col1 across the shape, on the picture's coverage.
// The shapes, with P the pixel from the centre and d = dot(P, direction): 0 a line across
// the direction, `range` wide; 1 circles round the centre; 2 diamonds, |d| plus the distance
// along the perpendicular (either one: only its absolute value counts); 3 a band both ways
// from the centre line. Any other type is col0 alone.
#include "soft_edge.hlsli"

Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  float4 col0;
  float4 col1;
  float2 offset;
  float2 direction;
  float range;
  int type;
};

float4 main(float4 position : SV_Position) : SV_Target {
  const float2 p = position.xy + offset;
  const float d = dot(p, direction);
  float w = 0.0;
  if (type == 0) {
    w = 1.0 - softStep(edgeRatio(d + range * 0.5, range));
  } else if (type == 1) {
    w = softStep(edgeRatio(length(p), range));
  } else if (type == 2) {
    const float across = dot(p, float2(-direction.y, direction.x));
    w = 1.0 - softStep(edgeRatio(range - (abs(d) + abs(across)), range));
  } else if (type == 3) {
    w = 1.0 - softStep(edgeRatio(range - abs(d), range));
  }
  return (col0 + w * (col1 - col0)) * texture0.Load(int3(position.xy, 0)).a;
}
