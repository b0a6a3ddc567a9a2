// The input moved by an offset, the edge texels repeated outside it.
Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  int2 offset;
};

float4 main(float4 position : SV_Position) : SV_Target {
  uint width, height;
  texture0.GetDimensions(width, height);
  const int2 at = clamp(int2(position.xy) + offset, int2(0, 0), int2(width, height) - 1);
  return texture0.Load(int3(at, 0));
}
