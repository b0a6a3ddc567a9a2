// Colour-space conversion going out into packed pixel pairs: each target texel holds two
// pixels of the frame as (Y0, U, Y1, V), with the chroma of the first; the second of the
// last pair of an odd width repeats the first. Each pixel as the plain output transform:
// transform x saturate(texel) + offset, the matrix stored row by row, giving (Y, U, V, a).
Texture2D texture0 : register(t0);

cbuffer Constant : register(b0) {
  row_major float4x4 transform;
  float4 offset;
};

float4 main(float4 position : SV_Position) : SV_Target {
  uint width;
  uint height;
  texture0.GetDimensions(width, height);
  const int2 pair = int2(position.xy);
  const int first = pair.x * 2;
  const int second = min(first + 1, int(width) - 1);
  const float4 a = mul(transform, saturate(texture0.Load(int3(first, pair.y, 0)))) + offset;
  const float4 b = mul(transform, saturate(texture0.Load(int3(second, pair.y, 0)))) + offset;
  return float4(a.x, a.y, b.x, a.z);
}
