// What the random raster shaders share: the uneven wave. Nine sine terms: the line's phase,
// its phase moving at half and at a quarter of the speed, each at the frequencies 1, 2 and
// 4, weighted 16/49 for the first phase at frequency 1 and halved with each further phase
// and frequency (the weights sum to 1). Each term is scaled by a texel of the "random" table
// (values -0.5 to 0.5) picked by the term's wave number, so a term keeps its amplitude for a
// whole period of its own and changes at the next; the three phases read the table along a
// row, down a column and along its diagonal. A wave number that falls before the table
// reads 0 and silences its term.
#include "raster_wave.hlsli"

Texture2D random : register(t1);

float randomAt(int column, int row) {
  if (column < 0 || row < 0 || column > 255 || row > 255) return 0.0;
  return random.Load(int3(column, row, 0)).r;
}

float wave(int index) {
  const float phases[3] = {float(index) + cycle, float(index) + cycle * 0.5,
                           float(index) + cycle * 0.25};
  float sum = 0.0;
  float frequency = 1.0;
  for (int f = 0; f < 3; ++f) {
    float weight = 16.0 / 49.0 / frequency;
    for (int p = 0; p < 3; ++p) {
      const float q = phases[p] * frequency;
      // The wave number with the term's own start, kept to the table's side with the sign
      // of the number (computed in floats: exact at these sizes, and signed remainders of
      // integers are not the same on every device).
      const float n = trunc(q * divideRange) + float(1 + 6 * p + f);
      const int m = int(n - 256.0 * trunc(n / 256.0));
      float amplitude;
      if (p == 0) amplitude = randomAt(m, f + 1);
      else if (p == 1) amplitude = randomAt(7 + f, m);
      else amplitude = randomAt(m, m);
      sum += weight * sin(q * PI2divideRange) * amplitude;
      weight *= 0.5;
    }
    frequency *= 2.0;
  }
  return sum;
}
