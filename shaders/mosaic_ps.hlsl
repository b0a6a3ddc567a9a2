// A mosaic from a picture reduced to one texel per tile: each pixel takes its tile's texel.
Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  float2 offset;  // added to the position, in pixels
  float length;   // the tile size in pixels
};

float4 main(float4 position : SV_Position) : SV_Target {
  uint width, height;
  texture0.GetDimensions(width, height);
  // A tile under a pixel would read far outside the reduced picture: tiles are at least one.
  const float2 tile = (position.xy + offset) / max(length, 1.0);
  const int2 at = int2(trunc(tile));
  if (tile.x < 0.0 || tile.y < 0.0 || at.x >= int(width) || at.y >= int(height))
    return float4(0, 0, 0, 0);
  return texture0.Load(int3(at, 0));
}
