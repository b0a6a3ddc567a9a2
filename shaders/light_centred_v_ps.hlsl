// Vertical box of the alpha centred on the pixel, coloured: light from the shape itself.
#include "light_window.hlsli"

float4 main(float4 position : SV_Position) : SV_Target {
  return windowSum(position, int2(0, 1), -1).a * divive * color;
}
