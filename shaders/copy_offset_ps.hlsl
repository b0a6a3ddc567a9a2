// The input moved by an offset: the texel at the pixel's position plus the offset, and
// transparent black where that lies outside the input.
Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  int2 offset;
};

float4 main(float4 position : SV_Position) : SV_Target {
  uint width, height;
  texture0.GetDimensions(width, height);
  const int2 at = int2(position.xy) + offset;
  if (at.x < 0 || at.y < 0 || at.x >= int(width) || at.y >= int(height)) return float4(0, 0, 0, 0);
  return texture0.Load(int3(at, 0));
}
