// Inverts luminance and hue: the straight colour goes to luminance and colour difference,
// the luminance is mapped by `step` and `offset` and the colour difference scaled by
// `invert`, and the colour comes back premultiplied. Nothing is clamped.
Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  float offset;
  float step;
  float invert;
};

float4 main(float4 position : SV_Position) : SV_Target {
  const float4 texel = texture0.Load(int3(int2(position.xy), 0));
  // Too transparent to carry a colour worth turning.
  if (texel.a < 0.001) return texel;
  const float3 c = texel.rgb / texel.a;
  const float y = 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
  const float cb = (-0.169 * c.r - 0.331 * c.g + 0.5 * c.b) * invert;
  const float cr = (0.5 * c.r - 0.419 * c.g - 0.081 * c.b) * invert;
  const float luma = step * y + offset;
  const float3 turned = float3(luma + 1.402 * cr, luma - 0.344 * cb - 0.714 * cr, luma + 1.772 * cb);
  return float4(turned * texel.a, texel.a);
}
