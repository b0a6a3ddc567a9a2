// Horizontal box ending at the pixel, every channel: the target is 2 range wider, so the
// box sits centred on content that the target shifted by range.
#include "light_window.hlsli"

float4 main(float4 position : SV_Position) : SV_Target {
  return windowSum(position, int2(1, 0), -2) * divive;
}
