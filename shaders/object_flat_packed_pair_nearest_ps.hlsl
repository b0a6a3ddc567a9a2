// The same draw from packed pixel pairs as object_flat_packed_pair_ps, with the nearest
// pixel: for point filtering, and for a picture whose texel centres fall on pixel centres,
// where the filtered sample is that pixel.
#include "packed_pair_sample.hlsli"

float4 main(float4 position : SV_Position, [[vk::location(0)]] float3 texcoord : TEXCOORD) : SV_Target {
  return pixelColour(int2(floor(texcoord.xy * float2(size)))) * texcoord.z;
}
