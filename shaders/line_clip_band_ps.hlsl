// "斜めクリッピング" with a width: a band `range` to each side of the line covered, its edges
// `length` wide. A negative width turns it round: the band is cut away and the rest covered.
#include "soft_edge.hlsli"

cbuffer constant0 : register(b0) {
  float2 offset;
  float2 direction;
  float length;
  float range;
};

float4 main(float4 position : SV_Position) : SV_Target {
  const float d = dot(position.xy + offset, direction);
  return float4(0.0, 0.0, 0.0, softStep(edgeRatio(range - sign(range) * abs(d), length)));
}
