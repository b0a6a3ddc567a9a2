// A textured object drawn against the depth buffer, keeping its normals for the lighting pass.
#define OBJECT_WITH_DEPTH
#define OBJECT_WITH_NORMAL
#include "object_pixel.hlsli"
#include "object_texture.hlsli"

float4 main(float4 position : SV_Position, [[vk::location(1)]] float4 normal : NORMAL,
            [[vk::location(0)]] float3 texcoord : TEXCOORD, bool front : SV_IsFrontFace) : SV_Target {
  const float4 sampled = sampleObjectTexture(texcoord.xy, textureFootprint(texcoord.xy));
  const uint2 p = uint2(position.xy);
  const float z = objectDepth(position);
  const float margin = depthMargin(p, z);
  const float4 colour = blendWithLayers(sampled, p) * texcoord.z;
  return storeFragment(p, z, margin, colour, facingNormal(normal, front));
}
