// Texel reads of the filter shaders, by integer texel coordinates without filtering.
#ifndef TEXEL_FETCH_HLSLI
#define TEXEL_FETCH_HLSLI

// The texel at `at`; transparent black outside the image (a GL fetch there is undefined).
float4 loadOrClear(Texture2D image, int2 at) {
  uint width, height;
  image.GetDimensions(width, height);
  if (at.x < 0 || at.y < 0 || at.x >= int(width) || at.y >= int(height)) return float4(0, 0, 0, 0);
  return image.Load(int3(at, 0));
}

// The texel that a position in pixels falls in. Rounded down, not toward zero: a position
// just left of or above the image lies outside it and reads transparent black rather than
// the first texel a second time.
float4 loadAtPosition(Texture2D image, float2 position) {
  return loadOrClear(image, int2(floor(position)));
}

#endif
