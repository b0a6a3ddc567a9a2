// Luma and the two colour differences (Y, U, V) of an RGB colour, and back. The shaders that
// key or recolour by hue and saturation work on straight (unpremultiplied) colours, which
// they take only from texels of alpha 0.001 or more.
#ifndef LUMA_CHROMA_HLSLI
#define LUMA_CHROMA_HLSLI

float3 lumaChroma(float3 c) {
  return float3(dot(c, float3(0.299, 0.587, 0.114)), dot(c, float3(-0.169, -0.331, 0.5)),
                dot(c, float3(0.5, -0.419, -0.081)));
}

float3 fromLumaChroma(float3 ycc) {
  return float3(ycc.x + 1.402 * ycc.z, ycc.x - 0.344 * ycc.y - 0.714 * ycc.z,
                ycc.x + 1.772 * ycc.y);
}

// Below this alpha a texel counts as transparent: its straight colour is not used.
static const float kVisibleAlpha = 0.001;

#endif
