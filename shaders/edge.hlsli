// "エッジ抽出": 3 x 3 Prewitt gradients of the picture, drawn in `color`. The gradient of a
// channel is (sum of the right column - sum of the left one, sum of the bottom row - sum of
// the top one), neighbours beyond the edge taken from the edge; its magnitude is the
// Euclidean length of that pair, not normalised (a step of 1 across a column gives 3).
#include "luma_chroma.hlsli"

Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  float4 color;
  float limit;
  float ratio;
};

// The magnitudes of the gradients of (Y, U, V, alpha), Y, U, V from the premultiplied
// colour; and the centre texel's alpha.
float4 gradientMagnitudes(int2 at, out float centreAlpha) {
  uint width, height;
  texture0.GetDimensions(width, height);
  const int2 last = int2(width, height) - 1;
  float4 gx = 0.0, gy = 0.0;
  centreAlpha = 0.0;
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      const float4 c = texture0.Load(int3(clamp(at + int2(dx, dy), int2(0, 0), last), 0));
      const float4 v = float4(lumaChroma(c.rgb), c.a);
      gx += float(dx) * v;
      gy += float(dy) * v;
      if (dx == 0 && dy == 0) centreAlpha = c.a;
    }
  return sqrt(gx * gx + gy * gy);
}

float4 edgeColour(float magnitude, float centreAlpha) {
  return color * (centreAlpha * saturate((magnitude - limit) * ratio));
}
