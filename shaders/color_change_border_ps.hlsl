// "特定色域変換" with boundary correction: weighted by how much of the key map round the
// pixel is kept.
#include "color_change.hlsli"
#include "key_window.hlsli"

float4 main(float4 position : SV_Position) : SV_Target {
  const int3 at = int3(position.xy, 0);
  const float4 texel = texture0.Load(at);
  if (texel.a < kVisibleAlpha) return float4(0.0, 0.0, 0.0, 0.0);
  const float4 m = diffmap.Load(at);
  return recolour(texel, m, windowWeight(at.xy, m.a, range, divie));
}
