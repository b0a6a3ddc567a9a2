// Colour channels shifted apart: red, green and blue each read from their own offset, the
// alpha the mean of the three reads, mixed over the picture by a strength.
SamplerState sampler0 : register(s0);
Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  float2 inverseSize;  // 1 / the picture's size
  float2 offset;       // added to the position, in pixels
  float2 offsetR;      // the red channel's shift, in texture units
  float2 offsetG;
  float2 offsetB;
  float alpha;         // strength: 0 keeps the picture, 1 is the shifted colours alone
  int mode;            // 0: the colours are also weighted by the mean alpha
};

float4 main(float4 position : SV_Position) : SV_Target {
  const float2 p = position.xy + offset;
  const float2 uv = p * inverseSize;
  const float4 r = texture0.SampleLevel(sampler0, uv + offsetR, 0);
  const float4 g = texture0.SampleLevel(sampler0, uv + offsetG, 0);
  const float4 b = texture0.SampleLevel(sampler0, uv + offsetB, 0);
  float4 shifted = float4(r.r, g.g, b.b, (r.a + g.a + b.a) / 3.0);
  if (mode == 0) shifted.rgb *= shifted.a;
  uint width, height;
  texture0.GetDimensions(width, height);
  const int2 at = int2(trunc(p));
  float4 texel = float4(0, 0, 0, 0);
  if (p.x >= 0.0 && p.y >= 0.0 && at.x < int(width) && at.y < int(height))
    texel = texture0.Load(int3(at, 0));
  return texel + alpha * (shifted - texel);
}
