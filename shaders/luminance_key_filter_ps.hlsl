// "ルミナンスキー": the picture's coverage by the straight colour's luma Y against `offset`,
// ramps `range` wide. By type: 0 dark parts clear, 1 bright parts clear, 2 both, 3 both
// without a ramp, 4 the parts near `offset` clear, 5 those without a ramp. Transparent
// texels pass unchanged.
#include "luma_chroma.hlsli"
#include "soft_edge.hlsli"

Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  int type;
  float offset;
  float range;
};

float4 main(float4 position : SV_Position) : SV_Target {
  const float4 texel = texture0.Load(int3(position.xy, 0));
  if (texel.a < kVisibleAlpha) return texel;
  const float y = lumaChroma(texel.rgb / texel.a).x;
  const float both = edgeRatio(min(y - offset, offset - y), range) + 1.0;
  const float apart = edgeRatio(abs(y - offset), range);
  float f = 0.0;
  switch (type) {
    case 0: f = edgeRatio(y - offset, range) + 1.0; break;
    case 1: f = edgeRatio(offset - y, range) + 1.0; break;
    case 2: f = both; break;
    case 3: f = both >= 0.0 ? 1.0 : 0.0; break;
    case 4: f = apart; break;
    case 5: f = apart >= 1.0 ? 1.0 : 0.0; break;
  }
  return texel * saturate(f);
}
