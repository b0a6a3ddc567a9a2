// The radial blur: each pixel is the plain mean of sampleNum texels on the way from it
// towards the centre, each step covering sampleStep of that way.
#include "texel_fetch.hlsli"

Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  int sampleNum;
  float sampleStep;
  float2 center;  // in input pixels
  float2 offset;  // input position of the output's first pixel
};

float4 main(float4 position : SV_Position) : SV_Target {
  const float2 from = position.xy + offset;
  const float2 way = (center - from) * sampleStep;
  float4 sum = float4(0, 0, 0, 0);
  for (int i = 0; i < sampleNum; ++i) sum += loadAtPosition(texture0, from + way * i);
  return sampleNum > 0 ? sum / sampleNum : sum;
}
