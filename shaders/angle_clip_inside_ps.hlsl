// "扇クリッピング" coverage that keeps the fan: black, opaque inside the fan.
#include "angle_clip.hlsli"

float4 main(float4 position : SV_Position) : SV_Target {
  const float3 d = fanDistances(position.xy);
  const float inside = softStep(edgeRatio(min(d.x, d.y) + range, 2.0 * range)) *
                       softStep(edgeRatio(d.z + limit, limit));
  return float4(0.0, 0.0, 0.0, inside);
}
