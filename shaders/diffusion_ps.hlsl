// The diffusion light: the brighter of the picture and the blurred frame under it (made
// opaque by the picture's alpha), channel by channel, scaled by the level.
#include "texel_fetch.hlsli"

Texture2D texture0 : register(t0);
Texture2D frameBuffer : register(t1);

cbuffer constant0 : register(b0) {
  int2 offset;  // the frame position of the picture's first pixel
  float level;
};

float4 main(float4 position : SV_Position) : SV_Target {
  const int2 pixel = int2(position.xy);
  const float4 s = loadOrClear(texture0, pixel);
  const float4 f = loadOrClear(frameBuffer, pixel + offset);
  return float4(max(s.rgb, f.rgb * s.a), s.a) * level;
}
