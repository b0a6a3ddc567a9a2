// One pass of the light bloom's box blur: the sum of the texels within `range` of the pixel
// on both sides along one axis (texels outside the image count as 0), times `divive`.
#ifndef BLOOM_BLUR_HLSLI
#define BLOOM_BLUR_HLSLI

Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  int range;
  float divive;
};

float4 boxBlur(float4 position, int2 axis) {
  uint width, height;
  texture0.GetDimensions(width, height);
  const int2 pixel = int2(position.xy);
  // Past the image's size every further texel lies outside it.
  const int reach = min(range, int(max(width, height)));
  float4 sum = float4(0, 0, 0, 0);
  for (int i = -reach; i <= reach; ++i) {
    const int2 at = pixel + axis * i;
    if (at.x >= 0 && at.y >= 0 && at.x < int(width) && at.y < int(height))
      sum += texture0.Load(int3(at, 0));
  }
  return sum * divive;
}

#endif
