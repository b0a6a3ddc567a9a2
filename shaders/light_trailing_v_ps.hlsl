// Vertical box of the alpha ending at the pixel, coloured: the first half of the glow
// behind the picture, 2 range taller.
#include "light_window.hlsli"

float4 main(float4 position : SV_Position) : SV_Target {
  return windowSum(position, int2(0, 1), -2).a * divive * color;
}
