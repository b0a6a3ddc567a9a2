// A textured object drawn flat: no depth is tested or kept.
#include "object_pixel.hlsli"
#include "object_texture.hlsli"

float4 main(float4 position : SV_Position, [[vk::location(0)]] float3 texcoord : TEXCOORD) : SV_Target {
  const float4 colour = sampleObjectTexture(texcoord.xy, textureFootprint(texcoord.xy));
  return blendWithFrame(colour, position) * texcoord.z;
}
