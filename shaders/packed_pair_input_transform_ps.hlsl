// Colour-space conversion going in from an image of packed pixel pairs: each texel holds
// two pixels as (Y0, U, Y1, V), so the pixel at x reads the texel at x / 2 and takes the
// luma of its half. Then as the plain input transform: transform x ((U, Y, V) + offset.rgb, 1),
// the matrix stored row by row.
Texture2D texture0 : register(t0);

cbuffer Constant : register(b0) {
  row_major float4x4 transform;
  float4 offset;
};

float4 main(float4 position : SV_Position) : SV_Target {
  const int2 pixel = int2(position.xy);
  const float4 pair = texture0.Load(int3(pixel.x >> 1, pixel.y, 0));
  const float3 uyv = float3(pair.g, (pixel.x & 1) != 0 ? pair.b : pair.r, pair.a);
  return mul(transform, float4(uyv + offset.rgb, 1.0));
}
