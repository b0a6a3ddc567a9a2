// The scene change's moved copy: the input shown moved by -offset. Where the moved picture
// does not reach, the pixel is discarded and the target keeps what it had.
Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  int2 offset;
};

float4 main(float4 position : SV_Position) : SV_Target {
  uint width, height;
  texture0.GetDimensions(width, height);
  const int2 at = int2(position.xy) + offset;
  if (at.x < 0 || at.y < 0 || at.x >= int(width) || at.y >= int(height)) discard;
  return texture0.Load(int3(at, 0));
}
