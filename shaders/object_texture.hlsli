// The object's texture as the textured 3-D shaders read it: one sample where the pixel covers
// about one texel, else a grid of up to 16 x 16 samples over the pixel's footprint.
#ifndef OBJECT_TEXTURE_HLSLI
#define OBJECT_TEXTURE_HLSLI

SamplerState sampler0 : register(s0);
Texture2D texture0 : register(t0);

// Texels covered by the pixel per axis. Taken before anything is discarded, where the
// derivatives of the neighbouring pixels are still there.
float2 textureFootprint(float2 uv) {
  float2 size;
  texture0.GetDimensions(size.x, size.y);
  return (abs(ddx_coarse(uv)) + abs(ddy_coarse(uv))) * size;
}

float4 sampleObjectTexture(float2 uv, float2 footprint) {
  if (footprint.x < 1.05 && footprint.y < 1.05) return texture0.SampleLevel(sampler0, uv, 0.0);
  float2 size;
  texture0.GetDimensions(size.x, size.y);
  const int2 count = clamp(int2(trunc(footprint * 0.5 + 1.5)), 1, 16);
  const float2 extent = footprint / size;
  const float2 spacing = extent / float2(count);
  const float2 start = uv - extent * 0.5 + spacing * 0.5;
  float4 sum = float4(0.0, 0.0, 0.0, 0.0);
  for (int y = 0; y < count.y; ++y)
    for (int x = 0; x < count.x; ++x)
      sum += texture0.SampleGrad(sampler0, start + spacing * float2(x, y), float2(spacing.x, 0.0),
                                 float2(0.0, spacing.y));
  return sum / float(count.x * count.y);
}

#endif
