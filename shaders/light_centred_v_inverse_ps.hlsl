// Vertical box of the transparency centred on the pixel, coloured: light from around the
// shape, which lights its edges from behind.
#include "light_window.hlsli"

float4 main(float4 position : SV_Position) : SV_Target {
  const float coverage = windowSum(position, int2(0, 1), -1).a;
  return (float(2 * range + 1) - coverage) * divive * color;
}
