// A coloured object drawn flat: no depth is tested or kept.
#include "object_pixel.hlsli"

float4 main(float4 position : SV_Position, [[vk::location(0)]] float4 color : COLOR) : SV_Target {
  return blendWithFrame(color, position);
}
