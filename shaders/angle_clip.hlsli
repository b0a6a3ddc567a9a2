// The constants of "扇クリッピング": the fan between the half-planes across `directionS` and
// `directionE`, its two sides blurred over 2 x `range` and its tip, across `directionL`,
// over `limit`.
#include "soft_edge.hlsli"

cbuffer constant0 : register(b0) {
  float2 offset;
  float2 directionS;
  float2 directionE;
  float2 directionL;
  float range;
  float limit;
};

// The pixel's distances along the three directions: start side, end side, tip.
float3 fanDistances(float2 position) {
  const float2 p = position + offset;
  return float3(dot(p, directionS), dot(p, directionE), dot(p, directionL));
}
