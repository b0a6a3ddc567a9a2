// Rows shifted sideways by an uneven wave down the picture, averaged as by the plain rows.
#include "raster_random.hlsli"

float4 main(float4 position : SV_Position) : SV_Target {
  const int2 at = int2(position.xy);
  return runMean(at.x, at.y, wave(at.y - 1), wave(at.y + 1), 0);
}
