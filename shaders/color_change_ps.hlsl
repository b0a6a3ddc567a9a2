// "特定色域変換" weighted by the key map's coverage at the pixel.
#include "color_change.hlsli"

float4 main(float4 position : SV_Position) : SV_Target {
  const int3 at = int3(position.xy, 0);
  const float4 texel = texture0.Load(at);
  if (texel.a < kVisibleAlpha) return float4(0.0, 0.0, 0.0, 0.0);
  const float4 m = diffmap.Load(at);
  return recolour(texel, m, m.a);
}
