// Horizontal box centred on the pixel, every channel.
#include "light_window.hlsli"

float4 main(float4 position : SV_Position) : SV_Target {
  return windowSum(position, int2(1, 0), -1) * divive;
}
