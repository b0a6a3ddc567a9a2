// A textured object drawn against the depth buffer, transparent parts into the transparent layer.
#define OBJECT_WITH_DEPTH
#include "object_pixel.hlsli"
#include "object_texture.hlsli"

float4 main(float4 position : SV_Position, [[vk::location(0)]] float3 texcoord : TEXCOORD) : SV_Target {
  const float4 sampled = sampleObjectTexture(texcoord.xy, textureFootprint(texcoord.xy));
  const uint2 p = uint2(position.xy);
  const float z = objectDepth(position);
  const float margin = depthMargin(p, z);
  const float4 colour = blendWithLayers(sampled, p) * texcoord.z;
  return storeFragment(p, z, margin, colour, float4(0.0, 0.0, 0.0, 0.0));
}
