// A coloured object drawn against the depth buffer, transparent parts into the transparent layer.
#define OBJECT_WITH_DEPTH
#include "object_pixel.hlsli"

float4 main(float4 position : SV_Position, [[vk::location(0)]] float4 color : COLOR) : SV_Target {
  const uint2 p = uint2(position.xy);
  const float z = objectDepth(position);
  const float margin = depthMargin(p, z);
  return storeFragment(p, z, margin, blendWithLayers(color, p), float4(0.0, 0.0, 0.0, 0.0));
}
