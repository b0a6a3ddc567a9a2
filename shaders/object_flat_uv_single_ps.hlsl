// A textured object drawn flat with no blend mode where every pixel covers at most about one
// texel: the one sample the general flat shader would take, without the footprint test and
// the grid of samples, which a software rasteriser pays for even where no pixel uses them.
#include "object_texture.hlsli"
#include "object_3d.hlsli"

float4 main(float4 position : SV_Position, [[vk::location(0)]] float3 texcoord : TEXCOORD) : SV_Target {
  return texture0.SampleLevel(sampler0, texcoord.xy, 0.0) * texcoord.z;
}
