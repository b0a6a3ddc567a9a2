// An image moved by an offset and composited over the frame by blend mode, then scaled by
// its opacity; nothing where the moved image does not reach.
#include "blend_mode.hlsli"

Texture2D texture0 : register(t0);
Texture2D frameBuffer : register(t1);

cbuffer constant0 : register(b0) {
  int blend;
  float alpha;
  int2 offset;
};

float4 main(float4 position : SV_Position) : SV_Target {
  uint width, height;
  texture0.GetDimensions(width, height);
  const int2 at = int2(position.xy) + offset;
  if (at.x < 0 || at.y < 0 || at.x >= int(width) || at.y >= int(height)) discard;
  const float4 s = texture0.Load(int3(at, 0));
  if (s.a < 0.001) discard;
  return blendModeColor(s, frameBuffer.Load(int3(position.xy, 0)), blend) * alpha;
}
