// The input resized: each pixel samples the input where it falls (q = p x inverseRatio).
// Enlarging or shrinking a little takes one bilinear sample; shrinking more averages a grid
// of samples over the pixel's footprint, up to 16 per axis.
SamplerState sampler0 : register(s0);
Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  float2 inverseRatio;
};

float4 main(float4 position : SV_Position) : SV_Target {
  uint width, height;
  texture0.GetDimensions(width, height);
  const float2 size = float2(width, height);
  const float2 uv = position.xy * inverseRatio / size;
  const float2 ratio = abs(inverseRatio);
  if (ratio.x < 1.05 && ratio.y < 1.05) return texture0.Sample(sampler0, uv);
  const float2 footprint = inverseRatio / size;
  const int2 count = int2(min(trunc(ratio * 0.5 + 1.5), 16.0));
  const float2 spacing = footprint / float2(count);
  const float2 start = uv - footprint * 0.5 + spacing * 0.5;
  float4 sum = float4(0, 0, 0, 0);
  for (int y = 0; y < count.y; ++y)
    for (int x = 0; x < count.x; ++x)
      sum += texture0.SampleGrad(sampler0, start + spacing * float2(x, y), float2(spacing.x, 0),
                                 float2(0, spacing.y));
  return sum / float(count.x * count.y);
}
