// The input resized: each pixel samples the input where it falls (q = p x inverseRatio).
// Enlarging or shrinking a little takes one bilinear sample; shrinking more averages a grid
// of samples over the pixel's footprint, up to 16 per axis.
SamplerState sampler0 : register(s0);
Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  float2 inverseRatio;
};

#include "area_sample.hlsli"

float4 main(float4 position : SV_Position) : SV_Target {
  return areaSample(position.xy * inverseRatio, inverseRatio);
}
