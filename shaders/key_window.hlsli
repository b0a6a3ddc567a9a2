// Boundary correction of the keys: a pixel of a key map keeps its coverage only as far as the
// map's alpha around it does. W is the sum of the map's alpha over the (2 range + 1)^2 window
// round the pixel, neighbours beyond the picture's edge taken from the edge (so the picture's
// own border is not eaten away); the weight is max(1 + range (W a divie - 1), 0) with a the
// alpha at the pixel and divie the caller's 1 / (2 range + 1)^2.
// The including shader declares the map as "diffmap".
#ifndef KEY_WINDOW_HLSLI
#define KEY_WINDOW_HLSLI

float windowWeight(int2 at, float a, int range, float divie) {
  uint width, height;
  diffmap.GetDimensions(width, height);
  const int2 last = int2(width, height) - 1;
  float sum = 0.0;
  for (int dy = -range; dy <= range; ++dy)
    for (int dx = -range; dx <= range; ++dx)
      sum += diffmap.Load(int3(clamp(at + int2(dx, dy), int2(0, 0), last), 0)).a;
  return max(1.0 + float(range) * (sum * a * divie - 1.0), 0.0);
}

#endif
