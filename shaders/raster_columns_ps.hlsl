// Columns shifted up and down by a sine wave across the picture; each pixel takes the mean
// of the texels its column passes over between the shifts of the columns either side, so
// steep parts of the wave blur instead of tearing.
#include "raster_wave.hlsli"

float wave(int index) { return sin((float(index) + cycle) * PI2divideRange); }

float4 main(float4 position : SV_Position) : SV_Target {
  const int2 at = int2(position.xy);
  return runMean(at.y, at.x, wave(at.x - 1), wave(at.x + 1), 1);
}
