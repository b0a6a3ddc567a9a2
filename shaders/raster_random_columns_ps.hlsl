// Columns shifted up and down by an uneven wave across the picture, averaged as by the
// plain columns.
#include "raster_random.hlsli"

float4 main(float4 position : SV_Position) : SV_Target {
  const int2 at = int2(position.xy);
  return runMean(at.y, at.x, wave(at.x - 1), wave(at.x + 1), 1);
}
