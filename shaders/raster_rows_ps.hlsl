// Rows shifted sideways by a sine wave down the picture; each pixel takes the mean of the
// texels its row passes over between the shifts of the rows above and below, so steep parts
// of the wave blur instead of tearing.
#include "raster_wave.hlsli"

float wave(int index) { return sin((float(index) + cycle) * PI2divideRange); }

float4 main(float4 position : SV_Position) : SV_Target {
  const int2 at = int2(position.xy);
  return runMean(at.x, at.y, wave(at.y - 1), wave(at.y + 1), 0);
}
