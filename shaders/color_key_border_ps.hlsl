// "カラーキー" mask with boundary correction: the mask ("diffmap") weighted by how much of it
// round the pixel is kept.
#include "color_key.hlsli"
#include "luma_chroma.hlsli"

Texture2D diffmap : register(t0);

#include "key_window.hlsli"

float4 main(float4 position : SV_Position) : SV_Target {
  const int2 at = int2(position.xy);
  const float a = diffmap.Load(int3(at, 0)).a;
  if (a < kVisibleAlpha) return float4(0.0, 0.0, 0.0, 0.0);
  return float4(0.0, 0.0, 0.0, windowWeight(at, a, range, divie));
}
