// "斜めクリッピング" across one line: black whose coverage rises from 0 to 1 over a band
// `length` wide centred on the line; the line passes through -offset, across `direction`.
#include "soft_edge.hlsli"

cbuffer constant0 : register(b0) {
  float2 offset;
  float2 direction;
  float length;
  float range;
};

float4 main(float4 position : SV_Position) : SV_Target {
  const float d = dot(position.xy + offset, direction);
  return float4(0.0, 0.0, 0.0, softStep(edgeRatio(d + length * 0.5, length)));
}
