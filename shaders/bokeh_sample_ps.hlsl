// Lens blur at a scale: bilinear samples through sampler0 starting at the pixel x ratio
// moved by the offset, +step.x per tap and -step.y per row (in pixels).
SamplerState sampler0 : register(s0);

float4 bokehTap(Texture2D image, float2 offset, float2 step, float2 ratio, float2 position,
                int i, int j) {
  float2 size;
  image.GetDimensions(size.x, size.y);
  const float2 at = position * ratio + offset + float2(i * step.x, -j * step.y);
  return image.SampleLevel(sampler0, at / size, 0.0);
}
#define BOKEH_TAP(from, i, j) bokehTap(texture0, offset, step, ratio, from, i, j)
#include "bokeh.hlsli"
