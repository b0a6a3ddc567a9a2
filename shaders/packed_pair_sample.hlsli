// The flat draw from a picture still in packed pixel pairs (Y0, U, Y1, V): the pixels of the
// picture converted as the input transform converts them (chroma shared by the pair), as the
// object shaders would sample them from a working-format copy. Outside the picture the
// sampler's border is transparent black, or the edge pixels repeat.
//
// A software rasteriser runs both sides of a branch for a group of pixels, so the choices
// here are selects, and the nearest-pixel and the filtered draws are two shaders.
#ifndef PACKED_PAIR_SAMPLE_HLSLI
#define PACKED_PAIR_SAMPLE_HLSLI

Texture2D pairs : register(t0);

cbuffer Conversion : register(b1) {
  row_major float4x4 transform;
  float4 offset;
  int2 size;       // the picture in pixels
  int clampEdges;  // 1: edge pixels repeat; 0: transparent black border
};

float4 pixelColour(int2 pixel) {
  const int2 inside = clamp(pixel, int2(0, 0), size - 1);
  const float4 pair = pairs.Load(int3(inside.x >> 1, inside.y, 0));
  const float3 uyv = float3(pair.g, (inside.x & 1) != 0 ? pair.b : pair.r, pair.a);
  const float4 colour = mul(transform, float4(uyv + offset.rgb, 1.0));
  const bool kept = clampEdges != 0 || all(inside == pixel);
  return kept ? colour : float4(0.0, 0.0, 0.0, 0.0);
}

#endif
