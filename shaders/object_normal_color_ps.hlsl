// A coloured object drawn against the depth buffer, keeping its normals for the lighting pass.
#define OBJECT_WITH_DEPTH
#define OBJECT_WITH_NORMAL
#include "object_pixel.hlsli"

float4 main(float4 position : SV_Position, [[vk::location(1)]] float4 normal : NORMAL,
            [[vk::location(0)]] float4 color : COLOR, bool front : SV_IsFrontFace) : SV_Target {
  const uint2 p = uint2(position.xy);
  const float z = objectDepth(position);
  const float margin = depthMargin(p, z);
  return storeFragment(p, z, margin, blendWithLayers(color, p), facingNormal(normal, front));
}
