// The mean of texture0 over a box of the picture through sampler0 (both declared by the
// including shader): a grid of samples, as many per axis as half the box's size plus 1.5
// and at most 16, each in the middle of its cell; or one sample at the box's centre when the
// box is under 1.05 pixels both ways. `centre` and `box` are in texels; a negative box size
// covers the same ground mirrored.
float4 areaSample(float2 centre, float2 box) {
  uint width, height;
  texture0.GetDimensions(width, height);
  const float2 size = float2(width, height);
  const float2 extent = abs(box);
  if (extent.x < 1.05 && extent.y < 1.05) return texture0.Sample(sampler0, centre / size);
  const int2 count = int2(min(trunc(extent * 0.5 + 1.5), 16.0));
  const float2 spacing = box / float2(count) / size;
  const float2 start = (centre - box * 0.5) / size + spacing * 0.5;
  float4 sum = float4(0, 0, 0, 0);
  for (int y = 0; y < count.y; ++y)
    for (int x = 0; x < count.x; ++x)
      sum += texture0.SampleGrad(sampler0, start + spacing * float2(x, y), float2(spacing.x, 0),
                                 float2(0, spacing.y));
  return sum / float(count.x * count.y);
}
