// "クロマキー" applied with boundary correction: as the plain application, the coverage
// first weighted by how much of the map round the pixel is kept.
#include "chroma_key.hlsli"

Texture2D texture0 : register(t0);
Texture2D diffmap : register(t1);

#include "key_window.hlsli"

float4 main(float4 position : SV_Position) : SV_Target {
  const int3 at = int3(position.xy, 0);
  const float4 m = diffmap.Load(at);
  if (m.a < kVisibleAlpha) return float4(0.0, 0.0, 0.0, 0.0);
  const float weight = windowWeight(at.xy, m.a, range, divie);
  return keyed(texture0.Load(at), m, weight * min(max(m.x, transparent), 1.0));
}
