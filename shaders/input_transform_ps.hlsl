// Colour-space conversion going in: transform x (texel.rgb + offset.rgb, 1), the texel read
// at the pixel's own position. The matrix is stored row by row.
Texture2D texture0 : register(t0);

cbuffer Constant : register(b0) {
  row_major float4x4 transform;
  float4 offset;
};

float4 main(float4 position : SV_Position) : SV_Target {
  const float4 texel = texture0.Load(int3(position.xy, 0));
  return mul(transform, float4(texel.rgb + offset.rgb, 1.0));
}
