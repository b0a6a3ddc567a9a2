// The border around the picture's shape, read texel by texel: the alpha of the neighbours
// within the range, weighted down linearly with distance, smoothed into the border colour.
#include "border_weight.hlsli"

Texture2D texture0 : register(t0);

float alphaAt(int2 at) {
  uint width, height;
  texture0.GetDimensions(width, height);
  if (at.x < 0 || at.y < 0 || at.x >= int(width) || at.y >= int(height)) return 0.0;
  return texture0.Load(int3(at, 0)).a;
}

float4 main(float4 position : SV_Position) : SV_Target {
  // The texel the offset position falls in (floor, so that positions left of or above the
  // picture do not fold onto its first column or row).
  const int2 centre = int2(floor(position.xy + offset));
  float sum = 0.0;
  for (int y = -range; y <= range; ++y)
    for (int x = -range; x < range; ++x)
      sum += alphaAt(centre + int2(x, y)) * neighbourWeight(x, y);
  return borderColor(sum);
}
