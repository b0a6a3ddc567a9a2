// An image composited over the frame by blend mode, then scaled by its opacity.
#include "blend_mode.hlsli"

Texture2D texture0 : register(t0);
Texture2D frameBuffer : register(t1);

cbuffer constant0 : register(b0) {
  int blend;
  float alpha;
};

float4 main(float4 position : SV_Position) : SV_Target {
  const float4 s = texture0.Load(int3(position.xy, 0));
  if (s.a < 0.001) discard;
  return blendModeColor(s, frameBuffer.Load(int3(position.xy, 0)), blend) * alpha;
}
