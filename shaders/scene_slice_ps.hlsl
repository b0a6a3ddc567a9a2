// The scene change's slices: the picture cut into bands that slide apart, alternate bands in
// opposite directions. Bands of rows move sideways by offsetX (even bands right, odd bands
// left); bands of columns move up and down by offsetY. Pixels that a band leaves uncovered
// are discarded, so the target shows through them.
Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  int offsetX;
  int offsetY;
  int divide;
};

float4 main(float4 position : SV_Position) : SV_Target {
  uint width, height;
  texture0.GetDimensions(width, height);
  const int2 at = int2(position.xy);
  const int bandX = (at.x * divide) / int(width);
  const int bandY = (at.y * divide) / int(height);
  const int sx = at.x + offsetX * (2 * (bandY & 1) - 1);
  const int sy = at.y + offsetY * (2 * (bandX & 1) - 1);
  if (sx < 0 || sy < 0 || sx >= int(width) || sy >= int(height)) discard;
  return texture0.Load(int3(sx, sy, 0));
}
