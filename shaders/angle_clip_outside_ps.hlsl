// "扇クリッピング" coverage that cuts the fan away: black, transparent inside the fan.
#include "angle_clip.hlsli"

float4 main(float4 position : SV_Position) : SV_Target {
  const float3 d = fanDistances(position.xy);
  const float inside = softStep(edgeRatio(range - max(d.x, d.y), 2.0 * range)) *
                       softStep(edgeRatio(limit - d.z, limit));
  return float4(0.0, 0.0, 0.0, 1.0 - inside);
}
