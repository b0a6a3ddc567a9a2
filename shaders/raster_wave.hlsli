// What the raster shaders share: the constants, and the mean of a run of texels along a row
// (or a column) between two shifts that the wave gives at the neighbouring rows.
Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  int type;              // kept in the layout the filter fills; the shaders do not read it
  float length;          // the wave's amplitude in pixels; the output is 2 x length wider
  float cycle;           // the wave's phase, in rows
  float PI2divideRange;  // 2 pi / the wavelength in rows
  float divideRange;     // 1 / the wavelength in rows
};

// trunc(v + 0.5), as the run's ends are taken.
float nearest(float v) { return trunc(v + 0.5); }

float4 texelAt(int2 at) {
  uint width, height;
  texture0.GetDimensions(width, height);
  if (at.x < 0 || at.y < 0 || at.x >= int(width) || at.y >= int(height)) return float4(0, 0, 0, 0);
  return texture0.Load(int3(at, 0));
}

// The mean of the texels from along + first to along + last on line `across`; `axis` 0 runs
// along rows, 1 along columns. Texels outside the picture count as transparent.
float4 runMean(int along, int across, float waveBefore, float waveAfter, int axis) {
  const float start = float(along) - trunc(length);
  const int first = int(start + nearest(length * min(waveBefore, waveAfter)));
  const int last = int(start + nearest(length * max(waveBefore, waveAfter)));
  float4 sum = float4(0, 0, 0, 0);
  for (int i = first; i <= last; ++i) sum += texelAt(axis == 0 ? int2(i, across) : int2(across, i));
  return sum / float(last - first + 1);
}
