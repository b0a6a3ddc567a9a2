// Draws the transparent layer where it lies in front of the opaque surface.
#include "object_3d.hlsli"

RasterizerOrderedTexture2D<float> depthBuffer : register(u1);
RasterizerOrderedTexture2D<float4> transparentBuffer : register(u2);
RasterizerOrderedTexture2D<float> transparentDepthBuffer : register(u3);

float4 main(float4 position : SV_Position) : SV_Target {
  const uint2 p = uint2(position.xy);
  if (!(transparentDepthBuffer[p] < depthBuffer[p])) discard;
  return transparentBuffer[p];
}
