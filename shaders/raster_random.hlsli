// The uneven wave of the random raster shaders: four sine terms at doubling frequencies
// with weights 16/49, 8/49, 4/49 and 2/49, each scaled by 0.5 + a value of the "random"
// table (values 0 to 1). The table value of term k is picked by the line's wave number,
// trunc(line x divideRange), 61 x k entries apart, so a term keeps its amplitude for a
// whole wavelength and changes at the next. The weights sum to 30/49 and the scales stay under
// 1.5, so the wave stays within -1 ... 1 like the plain sine.
#include "raster_wave.hlsli"

Texture2D random : register(t1);

float randomAt(int index) {
  const int wrapped = index & 65535;
  return random.Load(int3(wrapped & 255, wrapped >> 8, 0)).r;
}

float wave(int index) {
  const int number = int(trunc(float(index) * divideRange));
  const float phase = (float(index) + cycle) * PI2divideRange;
  float sum = 0.0;
  float weight = 16.0 / 49.0;
  float frequency = 1.0;
  for (int k = 0; k < 4; ++k) {
    sum += weight * (0.5 + randomAt(number + 61 * k)) * sin(phase * frequency);
    weight *= 0.5;
    frequency *= 2.0;
  }
  return sum;
}
