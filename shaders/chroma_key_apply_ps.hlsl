// "クロマキー" applied: the picture ("texture0") keyed by its map ("diffmap"). With
// `transparent` above 0, pixels near the key keep at least that share of their coverage.
#include "chroma_key.hlsli"

Texture2D texture0 : register(t0);
Texture2D diffmap : register(t1);

float4 main(float4 position : SV_Position) : SV_Target {
  const int3 at = int3(position.xy, 0);
  const float4 m = diffmap.Load(at);
  if (m.a < kVisibleAlpha) return float4(0.0, 0.0, 0.0, 0.0);
  return keyed(texture0.Load(at), m, m.a * min(max(m.x, transparent), 1.0));
}
